// "Alınanları İndir" and "Kapat" of the download window in headless chromium against the
// fake tax office site: the code is typed into Text3 the way a user types it.
#include "archive/form3.h"
#include "shell/dialog_window.h"
#include "masterdata/form1_window_fixture.h"
#include "received_taxoffice_site.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <functional>

namespace kuvela {
namespace {

using nlohmann::json;

class ReceivedWindowTest : public test::WindowTest {
protected:
    ReceivedWindowTest() { qputenv("KUVELA_TIME_SCALE", "0.1"); }
    ~ReceivedWindowTest() override { qunsetenv("KUVELA_TIME_SCALE"); }

    // The download window with Çağdaş Gıda and February 2024 chosen for the received list.
    Form3& ready()
    {
        home_.writeData(test::standardData({{"B8", "1111111"}, {"B9", "abc123"}}));
        clock_->set(QDateTime(QDate(2024, 3, 3), QTime(10, 0)));
        std::filesystem::create_directories(home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Alış Faturaları"));
        Form3& f = form3Of(start());
        f.show();
        choose(f);
        EXPECT_EQ(f.msg2, QStringLiteral("2024 Şubat "));
        return f;
    }

    static void choose(Form3& f)
    {
        f.bList1->setCurrentRow(0);
        f.bList1_Click();
        f.Option1->setChecked(true);
        f.Option1_Click();
        f.cList1->setCurrentRow(0);
        f.cList1_Click();
    }

    // Runs `step` from inside the road's wait for the code, each time it waits anew,
    // for as long as the returned timer lives.
    [[nodiscard]] static std::unique_ptr<QTimer> whileWaiting(Form3& f, std::function<void(int)> step)
    {
        auto timer = std::make_unique<QTimer>();
        auto waits = std::make_shared<int>(0);
        auto wasWaiting = std::make_shared<bool>(false);
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [&f, step, waits, wasWaiting] {
            const bool waiting = f.Command3->isEnabled() && !f.ProgressBar1->isHidden();
            if (waiting && !*wasWaiting)
                step((*waits)++);
            *wasWaiting = waiting;
        });
        timer->start(20);
        return timer;
    }

    static void type(QLineEdit* box, const QString& keys)
    {
        for (const QChar c : keys)
            box->insert(QString(c));
    }

    // Lets the event loop run for ms of real time.
    static void settle(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
    }
};

TEST_F(ReceivedWindowTest, CodeTypedIntoTheWindowListsTheMonth)
{
    test::FakeTaxOffice site(json{{"invoices", {test::siteInvoice(1, "02-02-2024"), test::siteInvoice(2, "29-02-2024")}}});
    Form3& f = ready();
    bool lockedWhileWaiting = false, fiveKeptWaiting = false, pictureShown = false;
    auto typist = whileWaiting(f, [&](int) {
        pictureShown = f.Image1->pixmap().width() > 0 && f.Text3->isVisible();
        lockedWhileWaiting = !f.bList1->isEnabled() && !f.cList1->isEnabled() && !f.Command1->isEnabled()
            && !f.Frame7->isEnabled() && f.Command3->isEnabled();
        QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
        f.grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/download_window_captcha.png"));
        const QString code = site.currentCode();
        type(f.Text3, code.left(5));
        settle(300);
        fiveKeptWaiting = site.events("login").empty();
        type(f.Text3, code.mid(5));
    });
    f.Command1->click();

    EXPECT_TRUE(pictureShown);
    EXPECT_TRUE(lockedWhileWaiting);
    EXPECT_TRUE(fiveKeptWaiting);
    EXPECT_EQ(f.statusText(), QStringLiteral("Fatura listesi indirildi ve kaydedildi."));
    const auto logins = site.events("login");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0]["user"], "1111111");
    EXPECT_EQ(site.events("query").back()["end"], "29-02-2024");
    const QString name = QStringLiteral("Çağdaş Gıda 2024-02 eArşivFat.xlsx");
    EXPECT_EQ(f.exFilePath, QStringLiteral("%1/Firmalarım/Çağdaş Gıda/Alış Faturaları/%2").arg(fromPath(home_.path()), name));
    EXPECT_TRUE(items(f.dList1).contains(name));
    EXPECT_FALSE(f.Command4->isHidden());
    EXPECT_TRUE(f.Command3->isEnabled());
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_TRUE(f.Check2->isHidden());
    EXPECT_FALSE(f.Check2->isChecked());
    EXPECT_TRUE(f.Text3->isHidden());
    EXPECT_TRUE(f.Text3->text().isEmpty());
    EXPECT_EQ(f.Image1->pixmap().width(), 0);
    EXPECT_TRUE(f.bList1->isEnabled());
    EXPECT_TRUE(f.cList1->isEnabled());
    EXPECT_EQ(window_->panelText(8), QStringLiteral("ON"));
    EXPECT_EQ(f.user, QStringLiteral("1111111"));
    EXPECT_TRUE(test::browserProcessesGone());

    // The month again: the old list is replaced, "Göster" opens it.
    typist = whileWaiting(f, [&](int) { type(f.Text3, site.currentCode()); });
    f.Command1->click();
    EXPECT_EQ(f.statusText(), QStringLiteral("Fatura listesi indirildi ve kaydedildi."));
    EXPECT_EQ(site.events("login").size(), 2u) << "one code typed per run";
    f.Command4->click();
    ASSERT_FALSE(desktop_->opened.empty());
    EXPECT_EQ(desktop_->opened.back(), toPath(f.exFilePath));
}

// Closing the window or pressing "Kapat" during the wait ends the run and the browser;
// "Kapat" idle and offline closes the window at once.
TEST_F(ReceivedWindowTest, ClosingEndsTheWaitAndKapatClosesAtOnce)
{
    test::FakeTaxOffice site(json{{"invoices", {test::siteInvoice(1, "02-02-2024")}}});
    auto gone = [](const QPointer<Form3>& w) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w.isNull();
    };
    // The window closed and "Kapat" pressed, each after a pasted code one too long.
    const std::function<void(Form3&)> enders[] = {[](Form3& f) { f.close(); }, [](Form3& f) { f.Command3->click(); }};
    for (size_t i = 0; i < std::size(enders); ++i) {
        SCOPED_TRACE(i == 0 ? "closed" : "Kapat");
        Form3& f = i == 0 ? ready() : form3Of(*window_);
        f.show();
        choose(f);
        QPointer<Form3> w(&f);
        bool sevenKeptWaiting = false;
        const auto closer = whileWaiting(f, [&](int) {
            f.Text3->setText(QStringLiteral("ABCDEFG"));
            settle(300);
            sevenKeptWaiting = site.events("login").empty();
            enders[i](f);
        });
        f.Command1->click();
        EXPECT_TRUE(sevenKeptWaiting);
        EXPECT_TRUE(site.events("login").empty());
        EXPECT_TRUE(test::browserProcessesGone());
        EXPECT_TRUE(gone(w));
    }
    {
        // The company left the workbook after the window listed it: no browser, and
        // the window is usable again.
        Form3& f = form3Of(*window_);
        choose(f);
        home_.writeData(test::standardData({{"B2", "Başka Firma"}}));
        const size_t served = site.events("captcha_served").size();
        f.Command1->click();
        EXPECT_EQ(f.statusText(), QStringLiteral("Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!"));
        EXPECT_EQ(site.events("captcha_served").size(), served);
        EXPECT_TRUE(f.Command3->isEnabled());
        EXPECT_TRUE(f.Command1->isEnabled());
        EXPECT_TRUE(f.bList1->isEnabled());
        EXPECT_TRUE(f.ProgressBar1->isHidden());
    }
    {
        QPointer<Form3> w(&form3Of(*window_));
        EXPECT_TRUE(w->kapat.isEmpty()) << "loaded anew";
        w->Command3->click();
        EXPECT_TRUE(gone(w)) << "idle";
    }
    {
        desktop_->online = false;
        Form3& f = form3Of(*window_);
        QPointer<Form3> w(&f);
        choose(f);
        f.Command1->click();
        EXPECT_EQ(f.statusText(), QStringLiteral("İnternete bağlı değilsiniz ...!"));
        EXPECT_TRUE(f.Command3->isEnabled());
        EXPECT_TRUE(f.ProgressBar1->isHidden());
        f.Command3->click();
        EXPECT_TRUE(gone(w)) << "offline";
    }
}

// The program ended (its main window closed) while the road waits for the code, in a
// process of its own: nothing typed, or five characters. The road gives up at once: no
// login with whatever the box holds, the browser quit, and the process ends.
TEST(ReceivedProgramEnd, ClosingTheProgramDuringTheWaitEndsTheRoadWithoutALogin)
{
    const QString child = QStringLiteral(KUVELA_BINARY_DIR "/received_end_child");
    ASSERT_TRUE(QFileInfo::exists(child));
    test::FakeTaxOffice site(json{{"captchaCodes", {"K7P2QX"}}, {"invoices", {test::siteInvoice(1, "02-02-2024")}}});
    test::ProgramFolder home;
    home.writeData(test::standardData({{"B8", "1111111"}, {"B9", "abc123"}}));
    std::filesystem::create_directories(home / QStringLiteral("Firmalarım/Çağdaş Gıda/Alış Faturaları"));
    const auto desktop = test::windowTestDesktop(); // the driver version file the start-up reads

    const struct { const char* what; bool typeFive; } rows[] = {{"nothing typed", false}, {"five characters", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const size_t served = site.events("captcha_served").size();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KUVELA_DIALOGS"), QStringLiteral("stderr"));
        env.insert(QStringLiteral("KUVELA_ONLINE"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(child, {r.typeFive ? QStringLiteral("K7P2Q") : QString()});
        ASSERT_TRUE(p.waitForStarted(10000));
        const bool ended = p.waitForFinished(30000);
        if (!ended) {
            p.kill();
            p.waitForFinished(5000);
        }
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(ended) << "the program kept running";
        EXPECT_TRUE(err.contains(QStringLiteral("waiting\n"))) << err.toStdString();
        EXPECT_EQ(site.events("captcha_served").size() - served, 2u) << "the site opened, its picture refreshed";
        EXPECT_TRUE(site.events("login").empty()) << site.events("login").size() << " logins";
        EXPECT_TRUE(err.contains(QStringLiteral("browsers 0\n"))) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("ended 0\n"))) << err.toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
    }
}

} // namespace
} // namespace kuvela
