#include "platform/webdriver_http.h"

#include "platform/clock.h"
#include "platform/road_timing.h"

#include <QElapsedTimer>
#include <curl/curl.h>

#include <algorithm>
#include <mutex>
#include <string_view>

namespace kuvela {
namespace be = browser_error;

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

QString firstLine(const std::string& text)
{
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return s.section(u'\n', 0, 0).trimmed();
}

// The command without its session and element ids: "POST /element/*/click".
std::string commandKind(const char* method, const std::string& path)
{
    std::string kind = std::string(method) + ' ';
    std::string_view previous;
    for (size_t i = 0; i < path.size();) {
        const size_t j = std::min(path.find('/', i + 1), path.size());
        const std::string_view piece(path.data() + i, j - i);
        if (previous == "/element" || previous == "/shadow")
            kind += "/*";
        else if (piece != "/session" && previous != "/session")
            kind += piece; // every command has the session
        previous = piece;
        i = j;
    }
    return kind;
}

} // namespace

WebDriverError errorFromW3C(const std::string& e, const std::string& driverMessage)
{
    struct Row {
        const char* w3c;
        int code;
        const char* text;
    };
    static const Row rows[] = {
        {"no such element", be::ElementNotFound, "Sayfada aranan öğe bulunamadı."},
        {"no such frame", be::ElementNotFound, "Sayfada aranan çerçeve bulunamadı."},
        {"no such shadow root", be::ElementNotFound, "Sayfada aranan öğe bulunamadı."},
        {"stale element reference", be::ElementNotUsable, "Sayfa öğesi artık sayfada değil."},
        {"element not interactable", be::ElementNotUsable, "Sayfa öğesi kullanılamıyor (gizli ya da kapalı)."},
        {"invalid element state", be::ElementNotUsable, "Sayfa öğesi bu işleme uygun değil."},
        {"element click intercepted", be::ElementNotUsable, "Sayfa öğesine tıklanamadı: üstünde başka bir öğe var."},
        {"unexpected alert open", be::AlertOpen, "Sayfada açık bir uyarı penceresi var."},
        {"no such alert", be::NoAlert, "Sayfada açık bir uyarı penceresi yok."},
        {"javascript error", be::ScriptFailed, "Sayfa betiği çalıştırılamadı."},
        {"timeout", be::DriverTimeout, "Tarayıcı zamanında yanıt vermedi."},
        {"script timeout", be::DriverTimeout, "Sayfa betiği zamanında bitmedi."},
        {"session not created", be::BrowserStart, "Tarayıcı başlatılamadı."},
        {"invalid session id", be::SessionClosed, "Tarayıcı oturumu kapanmış."},
        {"no such window", be::SessionClosed, "Tarayıcı penceresi kapanmış."},
    };
    for (const Row& r : rows)
        if (e == r.w3c)
            return WebDriverError(r.code, QString::fromUtf8(r.text), QString::fromStdString(e), firstLine(driverMessage));
    return WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcı komutu yerine getirilemedi."),
                          QString::fromStdString(e), firstLine(driverMessage));
}

WebDriverHttp::WebDriverHttp(std::string baseUrl) : base_(std::move(baseUrl))
{
    initCurlOnce();
    curl_ = curl_easy_init();
}

WebDriverHttp::~WebDriverHttp()
{
    if (multi_)
        curl_multi_cleanup(static_cast<CURLM*>(multi_));
    if (curl_)
        curl_easy_cleanup(static_cast<CURL*>(curl_));
}

int WebDriverHttp::performPainting()
{
    CURL* c = static_cast<CURL*>(curl_);
    if (!multi_)
        multi_ = curl_multi_init();
    CURLM* m = static_cast<CURLM*>(multi_);
    if (!m || curl_multi_add_handle(m, c) != CURLM_OK)
        return curl_easy_perform(c);
    CURLcode rc = CURLE_OK;
    for (int running = 1; running;) {
        if (curl_multi_perform(m, &running) != CURLM_OK) {
            rc = CURLE_SEND_ERROR;
            break;
        }
        if (!running)
            break;
        serveWindowsBriefly();
        curl_multi_poll(m, nullptr, 0, 10, nullptr);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(m, &left))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == c)
            rc = msg->data.result;
    curl_multi_remove_handle(m, c);
    return rc;
}

WebDriverHttp::Reply WebDriverHttp::send(const char* method, const std::string& path, const std::string* body,
                                         long timeoutMs)
{
    CURL* c = static_cast<CURL*>(curl_);
    if (!c)
        throw WebDriverError(be::DriverConnection, QStringLiteral("Tarayıcı sürücüsüne bağlanılamadı."));
    // A request from what the windows do while another one waits would take the same handle.
    if (busy_)
        throw WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcı komutu yerine getirilemedi."), {},
                             QStringLiteral("önceki komut sürüyor"));
    busy_ = true;
    struct Free {
        bool& busy;
        ~Free() { busy = false; }
    } free{busy_};
    curl_easy_reset(c); // keeps the open connection
    Reply reply;
    const std::string url = base_ + path;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*"); // the driver is local, whatever the proxy settings say
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min(ConnectTimeoutMs, timeoutMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method);
    curl_slist* headers = nullptr;
    if (body) {
        headers = curl_slist_append(headers, "Content-Type: application/json; charset=utf-8");
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, body->c_str());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, long(body->size()));
    }
    QElapsedTimer timer;
    timer.start();
    const CURLcode rc = PaintingWait::active() ? CURLcode(performPainting()) : curl_easy_perform(c);
    RoadTiming& timing = RoadTiming::counters();
    timing.command(commandKind(method, path), timer.nsecsElapsed() / 1000);
    long opened = 0;
    if (curl_easy_getinfo(c, CURLINFO_NUM_CONNECTS, &opened) == CURLE_OK)
        timing.connections += opened;
    curl_slist_free_all(headers);
    if (rc == CURLE_OPERATION_TIMEDOUT)
        throw WebDriverError(be::DriverTimeout, QStringLiteral("Tarayıcı sürücüsü zamanında yanıt vermedi."), {},
                             QString::fromUtf8(curl_easy_strerror(rc)));
    if (rc != CURLE_OK)
        throw WebDriverError(be::DriverConnection, QStringLiteral("Tarayıcı sürücüsüne bağlanılamadı."), {},
                             QString::fromUtf8(curl_easy_strerror(rc)));
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
    return reply;
}

nlohmann::json WebDriverHttp::call(const char* method, const std::string& path, const nlohmann::json& body,
                                   long timeoutMs)
{
    if (body.is_null())
        return valueOf(send(method, path, nullptr, timeoutMs));
    const std::string text = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return valueOf(send(method, path, &text, timeoutMs));
}

nlohmann::json WebDriverHttp::callText(const char* method, const std::string& path, const std::string& jsonBody,
                                       long timeoutMs)
{
    return valueOf(send(method, path, &jsonBody, timeoutMs));
}

nlohmann::json WebDriverHttp::valueOf(const Reply& r)
{
    nlohmann::json answer = nlohmann::json::parse(r.body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        throw WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcı sürücüsünden anlaşılmayan yanıt geldi."), {},
                             QStringLiteral("HTTP %1").arg(r.status));
    nlohmann::json value = answer.contains("value") ? answer["value"] : nlohmann::json();
    if (value.is_object() && value.contains("error") && value["error"].is_string())
        throw errorFromW3C(value["error"].get<std::string>(),
                           value.contains("message") && value["message"].is_string() ? value["message"].get<std::string>()
                                                                                      : std::string());
    if (r.status != 200)
        throw WebDriverError(be::CommandFailed, QStringLiteral("Tarayıcı komutu yerine getirilemedi."), {},
                             QStringLiteral("HTTP %1").arg(r.status));
    return value;
}

bool WebDriverHttp::ready(long timeoutMs) noexcept
{
    try {
        const nlohmann::json v = call("GET", "/status", nullptr, timeoutMs);
        return v.is_object() && v.value("ready", false);
    } catch (...) {
        return false;
    }
}

} // namespace kuvela
