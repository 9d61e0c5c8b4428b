#include "support/fake_server.h"

#include "platform/webdriver_process.h"
#include "support/server_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <stdexcept>

namespace kuvela::test {

namespace {

std::optional<QByteArray> setEnv(const char* name, const QByteArray& value)
{
    std::optional<QByteArray> old;
    if (qEnvironmentVariableIsSet(name))
        old = qgetenv(name);
    qputenv(name, value);
    return old;
}

void restoreEnv(const char* name, const std::optional<QByteArray>& value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

} // namespace

FakeServer::FakeServer(const QString& script, const QStringList& extraArgs, const char* urlVariable)
    : urlVariable_(urlVariable)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for a fake site");
    if (!QFile::exists(filePath(QStringLiteral("scenario.json"))))
        writeScenario("{}");
    port_ = startPortServer(server_,
                            QStringList{QStringLiteral(KUVELA_SOURCE_DIR "/tests/fakeportal/") + script} + extraArgs
                                + QStringList{QStringLiteral("--config"), filePath(QStringLiteral("scenario.json")),
                                              QStringLiteral("--events"), filePath(QStringLiteral("events.jsonl")),
                                              QStringLiteral("--port"), QStringLiteral("0")},
                            "fake site server");
    savedUrl_ = setEnv(urlVariable_, baseUrl().toUtf8());
    savedHeadless_ = setEnv("KUVELA_HEADLESS", "1");
    // The roads' fixed pauses run small unless the test chose its own scale.
    savedScale_ = qEnvironmentVariableIsSet("KUVELA_TIME_SCALE") ? std::optional(qgetenv("KUVELA_TIME_SCALE"))
                                                                 : std::nullopt;
    if (!savedScale_)
        qputenv("KUVELA_TIME_SCALE", kTestTimeScale);
}

FakeServer::~FakeServer()
{
    if (port_ != 0) {
        restoreEnv(urlVariable_, savedUrl_);
        restoreEnv("KUVELA_HEADLESS", savedHeadless_);
        restoreEnv("KUVELA_TIME_SCALE", savedScale_);
    }
    stopServer(server_);
}

QString FakeServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

void FakeServer::writeScenario(const QByteArray& json)
{
    QFile file(filePath(QStringLiteral("scenario.json")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write a fake site's scenario");
    file.write(json);
}

std::vector<qint64> browserProcessesOfThisTest()
{
    std::vector<qint64> found;
    for (const qint64 pid : descendantProcesses(QCoreApplication::applicationPid())) {
        if (!processAlive(pid))
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().contains("chrom"))
            found.push_back(pid);
    }
    return found;
}

bool browserProcessesGone()
{
    QElapsedTimer waited;
    waited.start();
    while (!browserProcessesOfThisTest().empty()) {
        if (waited.elapsed() > 5000)
            return false;
        QThread::msleep(50);
    }
    return true;
}

} // namespace kuvela::test
