#include "portal/fake_portal_harness.h"

#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>
#include <curl/curl.h>
#include <optional>
#include <stdexcept>

namespace kuvela::test {

namespace {

size_t collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string transfer(const std::string& url, bool isPost)
{
    const std::string empty;
    std::optional<std::string> body = localHttp(url, isPost ? &empty : nullptr);
    if (!body)
        throw std::runtime_error("fake portal unreachable: " + url);
    return *body;
}

} // namespace

std::optional<std::string> localHttp(const std::string& url, const std::string* postBody)
{
    CURL* c = curl_easy_init();
    std::string body;
    curl_slist* headers = nullptr;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (postBody) {
        if (!postBody->empty()) {
            headers = curl_slist_append(headers, "Content-Type: application/json");
            curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
        }
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->c_str());
    }
    const CURLcode rc = curl_easy_perform(c);
    curl_slist_free_all(headers);
    curl_easy_cleanup(c);
    if (rc != CURLE_OK)
        return std::nullopt;
    return body;
}

FakePortal::FakePortal(const nlohmann::json& scenario)
    : server_(QStringLiteral("server.py"),
              {QStringLiteral("--root"), QStringLiteral(KUVELA_SOURCE_DIR "/tests/fakeportal")}, "KUVELA_PORTAL_URL")
{
    setScenario(scenario);
}

FakePortal::~FakePortal() = default;

void FakePortal::setScenario(const nlohmann::json& scenario)
{
    nlohmann::json withToday = scenario;
    if (!withToday.contains("today"))
        withToday["today"] = Clock::instance().now().date().toString(QStringLiteral("dd'/'MM'/'yyyy")).toStdString();
    server_.writeScenario(QByteArray::fromStdString(withToday.dump()));
}

bool FakePortal::accepts(const nlohmann::json& form)
{
    return form.is_object() && form.contains("verdict") && form["verdict"].value("accepted", false);
}

std::string FakePortal::refusalOf(const nlohmann::json& form)
{
    if (!form.is_object() || !form.contains("verdict"))
        return "(no verdict)";
    return form["verdict"].value("message", std::string());
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

} // namespace kuvela::test
