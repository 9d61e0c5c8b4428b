// The notice file: its header read as plain text, then the whole road of the main
// window against a local HTTP server, the new version's download in real headless
// chromium included.
#include "platform/download_test_support.h"
#include "platform/paths.h"
#include "shell/notice_file.h"
#include "shell/recorded_window.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::LocalHttpServer;

// ---- the header ---------------------------------------------------------------------

struct HeaderCase {
    const char* name;
    QString file;
    bool found;
    QString flag;
    QString version;
    QString notice;
    bool arrived;
    int error;
};

TEST(NoticeHeader, FieldsCountedFromTheMarker)
{
    const QString long5000 = QString(5000, u'x');
    const std::vector<HeaderCase> cases = {
        {"plain", "||1|147|||Merhaba [A] test*gizli", true, "1", "147", "Merhaba [A] test", true, 0},
        {"marker inside a field", "önce||0|146|||duyuru*", true, "0", "146", "duyuru", true, 0},
        {"among other lines", "satır bir\r\nsatır iki\r\n||1|146|||metin*\r\nson", true, "1", "146", "metin", true, 0},
        {"quoted keeps commas", "\"||1|146|||a, b, c*\"", true, "1", "146", "a, b, c", true, 0},
        {"unquoted stops at a comma", "||1|146|||a, b, c*", true, "1", "146", "a", true, 0},
        {"no star: cut at 4001", "||1|146|||" + long5000, true, "1", "146", QString(3991, u'x'), true, 0},
        {"star after 4001", "||1|146|||" + long5000 + "*", true, "1", "146", QString(3991, u'x'), true, 0},
        {"star right at the start", "||1|146|||*gizli", true, "1", "146", "", false, 0},
        {"short header", "||1|14", true, "1", "14", "", false, 0},
        {"later header wins, notice stays announced", "||1|147|||ilk*,||2|146|||*", true, "2", "146", "", true, 0},
        {"no marker", "|1|147|yok*\r\nbaşka|", false, "", "", "", false, 0},
        {"empty file", "", false, "", "", "", false, 0},
        {"blank flag", "|| |146|||x*", false, "", "", "", false, 13},
        {"letter flag", "||a|146|||x*", false, "", "", "", false, 13},
        {"nothing after the marker", "||", false, "", "", "", false, 13},
        {"a third pipe is the flag", "|||146|||x*", false, "", "", "", false, 13},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const NoticeReading r = readNotice(c.file);
        EXPECT_EQ(r.errorNumber, c.error);
        EXPECT_EQ(r.headerFound, c.found);
        if (!c.found)
            continue;
        EXPECT_EQ(r.header.supportFlag, c.flag);
        EXPECT_EQ(r.header.latestVersion, c.version);
        EXPECT_EQ(r.header.notice, c.notice);
        EXPECT_EQ(r.noticeArrived, c.arrived);
    }
}

TEST(NoticeHeader, LineBreaksBeforeEveryBracket)
{
    EXPECT_EQ(noticeForDisplay("a[b] c[d"), "a\r\n\r\n[b] c\r\n\r\n[d");
    EXPECT_EQ(noticeForDisplay("[baş"), "\r\n\r\n[baş");
    EXPECT_EQ(noticeForDisplay("yok"), "yok");
}

TEST(NoticeHeader, VerdictAgainstTheRunningVersion)
{
    const std::vector<std::pair<QString, NoticeVerdict>> cases = {
        {"||0|146|||", NoticeVerdict::SupportEnded}, {"başlık yok", NoticeVerdict::SupportEnded},
        {"||1|147|||", NoticeVerdict::NewerVersion}, {"||9|200|||", NoticeVerdict::NewerVersion},
        {"||1|146|||", NoticeVerdict::Supported},    {"||1|100|||", NoticeVerdict::Supported},
        {"||1|1a9|||", NoticeVerdict::Supported},    {"||1|   |||", NoticeVerdict::Supported},
    };
    for (const auto& [file, verdict] : cases)
        EXPECT_EQ(noticeVerdict(readNotice(file), 146), verdict) << file.toStdString();
}

// ---- the road on the main window --------------------------------------------------------

const QString kPage = QStringLiteral("https://kod.example/yapimci/kuvela");
const QString kSupportEnded = QStringLiteral(
    "Bu versiyonun güncelleme desteği sonlandırıldı. Lütfen yeni versiyon indiriniz. Bilgi ve indirmek için adres: "
    "https://kod.example/yapimci/kuvela");
const QString kQuestion = QStringLiteral(
    "Kuvela'in güncel bir versiyonu tespit edildi! Evet seçeneği ile yeni versiyon KodDeposu üzerinden indirilir ve "
    "KuvelaUpdate tarafından kurulum yapılır. Hayır seçeneği ile çıkış yapılır. \nŞimdi güncelleme yapmak istiyor "
    "musunuz ?");
const QString kDownloaded = QStringLiteral(
    "Yeni Kuvela.Exe KodDeposu üzerindeki Kuvela Proje sayfasından indirildi. Güncelleme için Chrome SAKLA butonu ile "
    "kaydediniz. KAPAT seçeneği ile eski versiyona devam edebilirsiniz.");
const QString kUpdaterMissing = QStringLiteral(
    "\\Kuvela\\KuvelaUpdate.exe bulunamadı. Güncellemeyi tamamlamak için programdan çıkın ve \\Kuvela\\prgDosyaları\\ "
    "klasöründe bulunan (Yeni) Kuvela.EXE 'yi  \\Kuvela\\ klasöründeki (Eski) Kuvela.EXE ile değiştirin.");
QString failure(int n) { return QStringLiteral("Bir hata oluştu. Daha sonra tekrar deneyiniz. Hata No: ") + QString::number(n); }

void write(const fs::path& p, const QByteArray& bytes)
{
    fs::create_directories(p.parent_path());
    QFile f(fromPath(p));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class NoticeRoadTest : public ::testing::Test, protected test::RecordedWindow {
protected:
    NoticeRoadTest() : server_(toPath(served_.path()))
    {
        window_ = &open();
        setting("notice/url", server_.url("/yapimci/kuvela/blob/main/DRIVE.txt"));
        setting("project/page", kPage);
        setting("project/site", "KodDeposu");
        setting("headless", "1");
    }

    fs::path served(const QString& name) const { return toPath(served_.path()) / "yapimci/kuvela/blob/main" / toPath(name); }
    void setting(const QString& key, const QString& value)
    {
        QSettings ini(fromPath(programFiles() / "Kuvela.ini"), QSettings::IniFormat);
        ini.setValue(key, value);
    }
    void serveNotice(const QByteArray& text) { write(served(QStringLiteral("DRIVE.txt")), text); }
    int requests() const
    {
        QTemporaryDir d;
        Http::get(server_.url(QStringLiteral("/__count")), toPath(d.path()) / "n", HttpOptions{5000, 5000});
        QFile f(d.filePath(QStringLiteral("n")));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toInt() : -1;
    }

    QTemporaryDir served_;
    LocalHttpServer server_;
    Form1* window_ = nullptr;
};

struct RoadCase {
    const char* name;
    QByteArray file;  // empty: the server has none
    QStringList texts;
    bool ended;
};

TEST_F(NoticeRoadTest, OutcomesOfTheHeader)
{
    const std::vector<RoadCase> cases = {
        {"support ended", "||0|146|||Destek bitti*", {kSupportEnded}, true},
        {"no marker", "duyuru yok\r\n", {kSupportEnded}, true},
        {"newer version refused", "||1|147|||Yeni sürüm*", {kQuestion}, true},
        {"same version", "||1|146|||Bilgi*", {}, false},
        {"older version", "||1|100|||Bilgi*", {}, false},
        {"blank flag", "|| |146|||Bilgi*", {failure(13)}, true},
        {"no notice file (404)", {}, {failure(53)}, true},
    };
    for (const RoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_->clear();
        *end_ = RecordingProgramEnd();
        fs::remove(served(QStringLiteral("DRIVE.txt")));
        if (!c.file.isEmpty())
            serveNotice(c.file);
        window_->indirOku();
        EXPECT_EQ(dialogs_->texts(), c.texts);
        EXPECT_EQ(end_->requested(), c.ended);
        EXPECT_EQ(window_->panelText(8), "ON");
        EXPECT_EQ(window_->myPath, fromPath(programFiles() / "DRIVE.txt"));
    }
}

TEST_F(NoticeRoadTest, TheUpdateQuestionDefaultsToNo)
{
    serveNotice("||1|147|||*");
    window_->indirOku();
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    const MessageRequest& q = dialogs_->shown().front();
    EXPECT_EQ(q.icon, MsgIcon::Question);
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.defaultButton, MsgResult::No);
    EXPECT_EQ(q.title, "Kuvela");
    EXPECT_TRUE(end_->requested());
}

TEST_F(NoticeRoadTest, ANoticeIsShownAndAnnounced)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("panodaki metin"));
    serveNotice("satır\r\n\"||1|146|||Bakım: 1, 2 ve 3 [Mart] günleri*gizli\"\r\n");
    window_->indirOku();
    EXPECT_TRUE(dialogs_->texts().isEmpty());
    EXPECT_FALSE(end_->requested());
    EXPECT_EQ(window_->Text21->toPlainText(), "Bakım: 1, 2 ve 3 \n\n[Mart] günleri");
    EXPECT_FALSE(window_->Label26->isHidden());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_FALSE(fs::exists(programFiles() / "DRIVE.txt")) << "the local copy goes after reading";
    EXPECT_EQ(window_->myUrl, server_.url("/yapimci/kuvela/blob/main/DRIVE.txt"));
}

TEST_F(NoticeRoadTest, ALongNoticeIsCutAndAnEmptyOneNotAnnounced)
{
    serveNotice("||1|146|||" + QByteArray(4500, 'n'));
    window_->indirOku();
    EXPECT_EQ(window_->Text21->toPlainText().size(), 3991);
    EXPECT_FALSE(window_->Label26->isHidden());

    window_ = &open();
    serveNotice("||1|146|||*");
    window_->indirOku();
    EXPECT_TRUE(window_->Text21->toPlainText().isEmpty());
    EXPECT_TRUE(window_->Label26->isHidden());
}

TEST_F(NoticeRoadTest, OfflineNothingIsFetched)
{
    serveNotice("||0|146|||*");
    desktop_->online = false;
    window_->indirOku();
    EXPECT_EQ(window_->panelText(8), "OFF");
    EXPECT_EQ(requests(), 0);
    EXPECT_TRUE(dialogs_->texts().isEmpty());
    EXPECT_FALSE(end_->requested());
}

TEST_F(NoticeRoadTest, WithoutANoticeAddressTheStepIsSkipped)
{
    setting("notice/url", "");
    serveNotice("||0|146|||*");
    window_->indirOku();
    EXPECT_EQ(requests(), 0);
    EXPECT_TRUE(dialogs_->texts().isEmpty());
    EXPECT_FALSE(end_->requested());
}

TEST_F(NoticeRoadTest, AStalledServerEndsInTheErrorRoadNotAHang)
{
    setting("notice/url", server_.url("/__hang/DRIVE.txt"));
    setting("http/timeout", "1");
    QElapsedTimer t;
    t.start();
    window_->indirOku();
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(dialogs_->texts(), QStringList{failure(1002)});
    EXPECT_TRUE(end_->requested());
}

// ---- the new version, through the HTTP layer ------------------------------------------------

class NewVersionTest : public NoticeRoadTest {
protected:
    NewVersionTest()
    {
        serveNotice("||1|147|||Yeni sürüm çıktı*");
        dialogs_->queueAnswer(MsgResult::Yes);
    }
    fs::path newProgram() const { return programFiles() / "Kuvela.exe"; }
    fs::path updaterMark() const { return home_ / QStringLiteral("güncelleyici-çalıştı"); }
    void installUpdater()
    {
        const fs::path updater = home_ / QStringLiteral("KuvelaUpdate.exe");
        write(updater, "#!/bin/sh\npwd > \"$(dirname \"$0\")/güncelleyici-çalıştı\"\n");
        fs::permissions(updater, fs::perms::owner_all, fs::perm_options::add);
    }
    bool waitFor(const fs::path& p)
    {
        QElapsedTimer t;
        t.start();
        while (!fs::exists(p) && t.elapsed() < 10000)
            QThread::msleep(50);
        return fs::exists(p);
    }
};

TEST_F(NewVersionTest, TheUpdaterTakesOverWhenTheNewProgramArrived)
{
    write(served(QStringLiteral("Kuvela.exe")), QByteArray(20000, 'K'));
    installUpdater();
    window_->indirOku();
    EXPECT_EQ(dialogs_->texts(), (QStringList{kQuestion, kDownloaded}));
    EXPECT_EQ(fs::file_size(newProgram()), 20000u);
    ASSERT_TRUE(waitFor(updaterMark()));
    QFile mark(fromPath(updaterMark()));
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
    EXPECT_EQ(toPath(QString::fromUtf8(mark.readAll()).trimmed()), home_.path()) << "started from the program folder";
    EXPECT_TRUE(end_->requested());
    EXPECT_EQ(end_->code(), 0);
}

TEST_F(NewVersionTest, WithoutTheUpdaterTheProgramGoesOn)
{
    write(served(QStringLiteral("Kuvela.exe")), QByteArray(100, 'K'));
    window_->indirOku();
    EXPECT_EQ(dialogs_->texts(), (QStringList{kQuestion, kDownloaded, kUpdaterMissing}));
    EXPECT_EQ(dialogs_->shown().back().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(fs::exists(newProgram()));
    EXPECT_FALSE(end_->requested());
    EXPECT_FALSE(fs::exists(programFiles() / "DRIVE.txt"));
}

TEST_F(NewVersionTest, NoNewProgramNoUpdater)
{
    installUpdater();  // there, but must not start without the new program
    window_->indirOku();
    const QStringList texts = dialogs_->texts();
    // Nothing came, so nothing is said to have come.
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[1].startsWith("Yeni versiyon indirilemedi: "));
    EXPECT_TRUE(texts[1].contains(QDir::toNativeSeparators(fromPath(newProgram())))) << texts[1].toStdString();
    EXPECT_FALSE(end_->requested());
    QThread::msleep(300);
    EXPECT_FALSE(fs::exists(updaterMark()));
}

TEST_F(NewVersionTest, AnUnreachableAddressEndsInTheErrorRoad)
{
    setting("update/url", "http://127.0.0.1:9/Kuvela.exe");
    installUpdater();
    window_->indirOku();
    const QStringList texts = dialogs_->texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], kQuestion);
    EXPECT_TRUE(texts[1].startsWith("Bir hata oluştu. Daha sonra tekrar deneyiniz. Hata No: ")) << texts[1].toStdString();
    EXPECT_TRUE(end_->requested());
    EXPECT_EQ(end_->code(), 1);
    QThread::msleep(300);
    EXPECT_FALSE(fs::exists(updaterMark()));
}

} // namespace
} // namespace kuvela
