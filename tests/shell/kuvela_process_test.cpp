// The real program, started as a user starts it, and a picture of its window.
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

QProcessEnvironment programEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KUVELA_HOME"), home);
    env.insert(QStringLiteral("KUVELA_DIALOGS"), QStringLiteral("stderr"));
    env.insert(QStringLiteral("KUVELA_ONLINE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Waits until the process's standard error holds `text` (or it ends, or time runs out).
bool waitForStderr(QProcess& p, QByteArray& seen, const QString& text, int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        seen += p.readAllStandardError();
        if (QString::fromUtf8(seen).contains(text))
            return true;
        if (p.state() == QProcess::NotRunning)
            return false;
        p.waitForReadyRead(100);
    }
    return false;
}

TEST(KuvelaProgram, SecondCopyOnTheSameFolderEndsItselfAndTheFirstRunsOn)
{
    QTemporaryDir home;
    const QString program = QStringLiteral(KUVELA_BINARY_DIR "/kuvela");
    ASSERT_TRUE(QFileInfo::exists(program));

    QProcess first;
    first.setProcessEnvironment(programEnvironment(home.path()));
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The empty folder has no workbook: the first copy says so and keeps running.
    QByteArray firstErr;
    ASSERT_TRUE(waitForStderr(first, firstErr, QStringLiteral("Veritabanı bulunamadı."), 20000)) << firstErr.toStdString();

    QProcess second;
    second.setProcessEnvironment(programEnvironment(home.path()));
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    const QString secondErr = QString::fromUtf8(second.readAllStandardError());
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_TRUE(secondErr.contains(
        QStringLiteral("[msgbox] information | Kuvela | Kuvela.exe zaten çalışıyor. İkinci defa başlatılamaz.. !")))
        << secondErr.toStdString();
    EXPECT_FALSE(secondErr.contains(QStringLiteral("Veritabanı")));

    EXPECT_FALSE(first.waitForFinished(500));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

TEST(KuvelaProgram, PictureOfTheMainWindowAfterLogin)
{
    test::ProgramFolder home;
    home.writeData(test::standardData());
    ScopedRecordingDialogs dialogs;
    ScopedRecordingProgramEnd end;
    auto desktop = std::make_unique<RecordingDesktop>();
    auto previousDesktop = Desktop::replace(std::move(desktop));

    {
        Form1 w;
        w.show();
        w.Text25->setText(QStringLiteral("demo"));
        w.Text26->setText(QStringLiteral("1234"));
        w.Command51->click();
        ASSERT_TRUE(w.menusShown());
        QCoreApplication::processEvents();

        const QDir shots(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
        ASSERT_TRUE(shots.mkpath(QStringLiteral(".")));
        const QString file = shots.filePath(QStringLiteral("main_window_login.png"));
        QFile::remove(file);
        const QPixmap picture = w.grab();
        ASSERT_FALSE(picture.isNull());
        EXPECT_GE(picture.width(), 800);
        ASSERT_TRUE(picture.save(file, "PNG"));
        EXPECT_GT(QFileInfo(file).size(), 0);
    }
    Desktop::replace(std::move(previousDesktop));
}

} // namespace
} // namespace kuvela
