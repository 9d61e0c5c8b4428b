#pragma once
// A setup run on temporary folders: a desktop whose name holds a blank and "%", a
// delivery folder made here, stand-in browser and driver scripts that print versions,
// a local package server, recorded message boxes and a recording launcher.
#include "platform/dialogs.h"
#include "platform/download_test_support.h"
#include "platform/paths.h"
#include "setup/kur_form.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela::setup::test {

namespace fs = std::filesystem;

inline QByteArray readAll(const fs::path& p)
{
    QFile f(fromPath(p));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<yok>");
}

inline void write(const fs::path& p, const QByteArray& bytes, bool executable = false)
{
    fs::create_directories(p.parent_path());
    QFile f(fromPath(p));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    if (executable)
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
}

inline bool isExecutable(const fs::path& p)
{
    return (fs::status(p).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// Components missing on a pretend Windows machine; records what would be registered.
class FakeComponentLayer : public ComponentLayer {
public:
    QString systemFolderName() const override { return sysName; }
    bool isPresent(const QString& name) const override { return !missing.contains(name); }
    bool registers() const override { return true; }
    bool copyToSystem(const fs::path& file) override
    {
        if (refuseCopies)
            return false;
        copied << fromPath(file.filename());
        return true;
    }
    bool registerComponent(const QString& name) override
    {
        commands << QStringLiteral("regsvr32 /s C:\\Windows\\") + sysName + name;
        return true;
    }
    QString sysName = QStringLiteral("SysWOW64\\");
    QStringList missing, copied, commands;
    bool refuseCopies = false;  // as without administrator rights
};

class RecordingLauncher : public Launcher {
public:
    int startDetached(const QString& program, const QStringList& arguments, const fs::path&) override
    {
        starts << (QStringList{program} + arguments).join(u' ');
        return 0;
    }
    QStringList starts;
};

class SetupFixture : public ::testing::Test {
protected:
    SetupFixture() : served_(toPath(storage_.path())), server_(served_)
    {
        desktop_ = base() / toPath(QStringLiteral("Masa üstü %50"));
        delivery_ = base() / toPath(QStringLiteral("teslim klasörü"));
        fs::create_directories(desktop_);
        write(delivery_ / "kuvela", "#!/bin/sh\necho started > \"$(dirname \"$0\")/started.txt\"\n", true);
        write(delivery_ / "DATA.xlsx", "starter workbook");
        write(delivery_ / "KuvelaLogo.jpg", "logo");
        for (const QString& name : componentNames())
            write(components() / toPath(name), name.toUtf8());
        write(delivery_ / "Kuvela-Nadrik" / "install.sh", "#!/bin/sh\n", true);
        setBrowser(QStringLiteral("112.0.5615.49"));
        setSystemDriver(QStringLiteral("112.0.5615.49"));
        env_.set("KUVELA_DRIVER_STRATEGY", QStringLiteral("system"));
        env_.set("KUVELA_DRIVER_STORAGE", server_.url());
        env_.set("KUVELA_SUPPORT_MAILBOX", QStringLiteral("destek@example.com"));
        for (const char* name : {"KUVELA_DRIVER_PACKAGE", "KUVELA_HTTP_TIMEOUT", "KUVELA_HTTP_CONNECT_TIMEOUT"})
            env_.unset(name);
    }

    fs::path base() const { return toPath(work_.path()); }
    fs::path components() const { return delivery_ / toPath(QStringLiteral("Kuvela Bileşenleri")); }
    fs::path program() const { return desktop_ / "Kuvela"; }
    fs::path programFiles() const { return program() / toPath(QStringLiteral("prgDosyaları")); }
    fs::path versionFile() const { return programFiles() / "ChromeDriverVersiyon.txt"; }

    // A stand-in browser; its standard error carries a version that must not be read.
    void setBrowser(const QString& version)
    {
        const fs::path b = base() / "bin" / "chromium";
        write(b, ("#!/bin/sh\necho 'Chromium 999.9.9.9' >&2\necho 'Chromium " + version + " built on Debian'\n").toUtf8(),
              true);
        env_.set("KUVELA_BROWSER_BINARY", fromPath(b));
    }
    void setSystemDriver(const QString& version)
    {
        const fs::path d = base() / "bin" / "chromedriver";
        write(d, ("#!/bin/sh\necho 'ChromeDriver " + version + " (test)'\n").toUtf8(), true);
        env_.set("KUVELA_BROWSER_DRIVER", fromPath(d));
    }
    void useTable() { env_.set("KUVELA_DRIVER_STRATEGY", QStringLiteral("table")); }
    void servePackage(const QString& build, const QJsonArray& entries)
    {
        kuvela::test::makeZip(served_ / toPath(build) / "chromedriver_linux64.zip", entries);
    }

    SetupContext context()
    {
        return {{desktop_, delivery_}, SetupSettings::fromEnvironment(), components_, &launcher_};
    }
    // The window as the setup opens it, with "Devam   >>" pressed.
    std::unique_ptr<KurForm> runSetup()
    {
        auto form = std::make_unique<KurForm>(context());
        form->Command1->click();
        return form;
    }

    QTemporaryDir work_, storage_;
    kuvela::test::ScopedEnv env_;
    fs::path served_, desktop_, delivery_;
    kuvela::test::LocalHttpServer server_;
    ScopedRecordingDialogs dialogs_;
    ScopedRecordingProgramEnd end_;
    NoComponentLayer linuxComponents_;
    ComponentLayer* components_ = &linuxComponents_;
    RecordingLauncher launcher_;
};

} // namespace kuvela::setup::test
