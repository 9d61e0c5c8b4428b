#pragma once
// A local HTTP server and ZIP maker for the download and archive tests, both over
// /usr/bin/python3 scripts under tests/fixtures.
#include "platform/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>

namespace kuvela::test {

inline QString fixtureScript(const char* name)
{
    return QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/") + QString::fromLatin1(name);
}

// download_server.py on a free port of 127.0.0.1 while the object lives.
class LocalHttpServer {
public:
    explicit LocalHttpServer(const std::filesystem::path& root) { start({QStringLiteral("--root"), fromPath(root)}); }
    // A port that listens but never accepts: connection attempts hang.
    struct NoAccept {};
    explicit LocalHttpServer(NoAccept) { start({QStringLiteral("--no-accept")}); }
    // radio_server.py instead: a generated tone as an endless-looking WAV stream under /stream/.
    struct Radio {};
    explicit LocalHttpServer(Radio) { start({}, "radio_server.py"); }
    ~LocalHttpServer()
    {
        process_.closeWriteChannel();
        process_.kill();
        process_.waitForFinished(5000);
    }

    int port() const { return port_; }
    QString url(const QString& path = {}) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path); }

private:
    void start(QStringList args, const char* script = "download_server.py")
    {
        args.prepend(fixtureScript(script));
        process_.start(QStringLiteral("/usr/bin/python3"), args);
        if (!process_.waitForStarted(10000))
            ADD_FAILURE() << script << " did not start";
        while (port_ == 0 && process_.waitForReadyRead(10000)) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).trimmed();
                if (line.startsWith(QStringLiteral("PORT ")))
                    port_ = line.mid(5).toInt();
            }
        }
        if (port_ == 0)
            ADD_FAILURE() << script << " gave no port: " << process_.readAllStandardError().toStdString();
    }

    QProcess process_;
    int port_ = 0;
};

// One entry of a ZIP made by make_zip.py.
inline QJsonObject zipFile(const QString& name, const QString& data, int mode = 0644)
{
    return {{QStringLiteral("name"), name}, {QStringLiteral("data"), data}, {QStringLiteral("mode"), mode}};
}
inline QJsonObject zipLink(const QString& name, const QString& target)
{
    return {{QStringLiteral("name"), name}, {QStringLiteral("link"), target}};
}

inline void makeZip(const std::filesystem::path& out, const QJsonArray& entries)
{
    std::filesystem::create_directories(out.parent_path());
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), {fixtureScript("make_zip.py"), fromPath(out)});
    ASSERT_TRUE(py.waitForStarted(10000));
    py.write(QJsonDocument(entries).toJson(QJsonDocument::Compact));
    py.closeWriteChannel();
    ASSERT_TRUE(py.waitForFinished(30000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
}

} // namespace kuvela::test
