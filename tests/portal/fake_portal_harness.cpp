#include "portal/fake_portal_harness.h"

#include "platform/webdriver_process.h"
#include "support/server_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <curl/curl.h>
#include <stdexcept>

namespace kuvela::test {

namespace {

const char* const kUrlVar = "KUVELA_PORTAL_URL";
const char* const kHeadlessVar = "KUVELA_HEADLESS";
const char* const kScaleVar = "KUVELA_TIME_SCALE";

std::optional<QByteArray> saveEnv(const char* name)
{
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qgetenv(name);
}

void restoreEnv(const char* name, const std::optional<QByteArray>& value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

size_t collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string transfer(const std::string& url, bool isPost)
{
    CURL* c = curl_easy_init();
    std::string body;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (isPost) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, "");
    }
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_cleanup(c);
    if (rc != CURLE_OK)
        throw std::runtime_error("fake portal unreachable: " + url);
    return body;
}

} // namespace

FakePortal::FakePortal(const nlohmann::json& scenario)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the fake portal");
    setScenario(scenario);
    const QString root = QStringLiteral(KUVELA_SOURCE_DIR "/tests/fakeportal");
    port_ = startPortServer(server_,
                            {root + QStringLiteral("/server.py"), QStringLiteral("--root"), root,
                             QStringLiteral("--config"), dir_.filePath(QStringLiteral("scenario.json")),
                             QStringLiteral("--events"), dir_.filePath(QStringLiteral("events.jsonl")),
                             QStringLiteral("--port"), QStringLiteral("0")},
                            "fake portal server");
    savedUrl_ = saveEnv(kUrlVar);
    savedHeadless_ = saveEnv(kHeadlessVar);
    savedScale_ = saveEnv(kScaleVar);
    qputenv(kUrlVar, baseUrl().toUtf8());
    qputenv(kHeadlessVar, "1");
    // The roads' fixed pauses run small unless the test chose its own scale.
    if (!savedScale_)
        qputenv(kScaleVar, kTestTimeScale);
}

FakePortal::~FakePortal()
{
    if (port_ != 0) {
        restoreEnv(kUrlVar, savedUrl_);
        restoreEnv(kHeadlessVar, savedHeadless_);
        restoreEnv(kScaleVar, savedScale_);
    }
    stopServer(server_);
}

QString FakePortal::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

void FakePortal::setScenario(const nlohmann::json& scenario)
{
    QFile file(dir_.filePath(QStringLiteral("scenario.json")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the fake portal's scenario");
    file.write(QByteArray::fromStdString(scenario.dump()));
}

std::string FakePortal::get(const std::string& path) const { return transfer(baseUrl().toStdString() + path, false); }

void FakePortal::post(const std::string& path) const { transfer(baseUrl().toStdString() + path, true); }

nlohmann::json FakePortal::scenario() const { return nlohmann::json::parse(get("/__config")); }

nlohmann::json FakePortal::events() const { return nlohmann::json::parse(get("/__events")); }

std::vector<nlohmann::json> FakePortal::events(const std::string& type) const
{
    std::vector<nlohmann::json> found;
    for (const auto& e : events())
        if (e.value("type", std::string()) == type)
            found.push_back(e);
    return found;
}

std::vector<nlohmann::json> FakePortal::awaitEvents(const std::string& type, size_t count, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    std::vector<nlohmann::json> found = events(type);
    while (found.size() < count && timer.elapsed() < timeoutMs) {
        QThread::msleep(20);
        found = events(type);
    }
    return found;
}

void FakePortal::resetEvents() { post("/__reset"); }

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
