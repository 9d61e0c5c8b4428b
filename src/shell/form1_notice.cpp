// The notice file at the end of start-up, and the hand-over to the updater when the
// user takes a newer version. The reading itself is in notice_file.
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/notice_file.h"
#include "shell/program_end.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QProcess>

namespace kuvela {

Q_LOGGING_CATEGORY(lcNotice, "kuvela.notice")

namespace fs = std::filesystem;

namespace {

constexpr int kEnded = 1;
constexpr int kHandedOver = 0;

fs::path programFiles()
{
    return programFolder() / toPath(QStringLiteral("prgDosyaları"));
}

// From the sending of the request on, every failure takes the notice's error road.
struct NoticeFailure {
    int number;
};

QString readWhole(const fs::path& file)
{
    QFile f(fromPath(file));
    if (!f.open(QIODevice::ReadOnly))
        throw NoticeFailure{error_no::FileNotFound};
    return QString::fromUtf8(f.readAll());
}

// Starts the updater when the new program is there; false when the program goes on.
bool handOverToUpdater()
{
    const fs::path newProgram = programFiles() / "Kuvela.exe";
    if (!programFileReady(newProgram)) {
        msgBox(newVersionMissingText(newProgram), MsgIcon::Exclamation);
        return false;
    }
    const fs::path updater = programFolder() / "KuvelaUpdate.exe";
    std::error_code ec;
    if (!fs::exists(updater, ec)) {
        msgBox(updaterMissingText(), MsgIcon::Exclamation);
        return false;
    }
    // No elevation here: the updater asks for what it needs itself.
    if (!QProcess::startDetached(fromPath(updater), {}, fromPath(programFolder())))
        throw NoticeFailure{error_no::PathFileAccess};
    ProgramEnd::instance().end(kHandedOver);
    return true;
}

// The error road: the message, then the end of the program.
void failed(int number)
{
    msgBox(noticeErrorText(number));
    ProgramEnd::instance().end(kEnded);
}

} // namespace

void Form1::indirOku()
{
    const NoticeConfig config = NoticeConfig::fromSettings();
    if (!config.configured())
        return;
    checkConnection();
    if (Ret != 1) {
        setPanel(8, QStringLiteral("OFF"));
        return;
    }
    setPanel(8, QStringLiteral("ON"));
    const fs::path local = programFiles() / "DRIVE.txt";
    std::error_code ec;
    fs::remove(local, ec);
    pauseMs(1000);
    myUrl = config.noticeUrl;
    myPath = fromPath(local);

    try {
        const HttpResult got = Http::get(myUrl, local, config.http);
        if (got.errorNumber == error_no::BadAddress) {
            // The request could not be made at all: start-up goes on without a notice.
            qCWarning(lcNotice) << got.error;
            return;
        }
        // A refused request saves nothing; the missing copy is what fails.
        if (!got.ok() && got.errorNumber != error_no::HttpStatus)
            throw NoticeFailure{got.errorNumber};
        const NoticeReading reading = readNotice(readWhole(local));
        if (reading.errorNumber != 0)
            throw NoticeFailure{reading.errorNumber};
        if (reading.headerFound)
            Text21->setPlainText(noticeForDisplay(reading.header.notice));
        if (reading.noticeArrived)
            Label26->show();
        QGuiApplication::clipboard()->clear();

        switch (noticeVerdict(reading, prgVersiyon)) {
        case NoticeVerdict::SupportEnded:
            msgBox(supportEndedText(config.projectPage), MsgIcon::Critical, QStringLiteral("Kuvela"));
            ProgramEnd::instance().end(kEnded);
            return;
        case NoticeVerdict::NewerVersion:
            if (msgBox(updateQuestionText(config.siteName), MsgIcon::Question, QStringLiteral("Kuvela"),
                       MsgButtons::YesNo, MsgResult::No)
                != MsgResult::Yes) {
                ProgramEnd::instance().end(kHandedOver);
                return;
            }
            yeniVersiyonIndir();
            if (handOverToUpdater())
                return;
            break;
        case NoticeVerdict::Supported:
            break;
        }
        fs::remove(local, ec);
    } catch (const NoticeFailure& e) {
        failed(e.number);
    } catch (const std::exception& e) {
        qCWarning(lcNotice) << e.what();
        failed(error_no::InvalidCall);
    }
}

// The new program comes through the program's own HTTP layer: whole or not at all,
// straight into prgDosyaları, with no browser to confirm a download in.
void Form1::yeniVersiyonIndir()
{
    const NoticeConfig config = NoticeConfig::fromSettings();
    const fs::path target = programFiles() / "Kuvela.exe";
    // A copy left there would be taken for the new one.
    std::error_code ec;
    fs::remove(target, ec);

    const HttpResult got = Http::get(config.programUrl, target, config.http);
    if (!got.ok() && got.errorNumber != error_no::HttpStatus)
        throw NoticeFailure{got.errorNumber};
    // A refused address saves nothing; the hand-over then says the program is missing.
    if (got.ok())
        msgBox(newVersionDownloadedText(config.siteName), MsgIcon::Information);
}

} // namespace kuvela
