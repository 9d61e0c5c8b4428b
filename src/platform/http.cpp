#include "platform/http.h"

#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"

#include <QSaveFile>
#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace kuvela {
namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int secondsSetting(const Settings& s, const QString& key, int fallbackMs)
{
    bool ok = false;
    const double seconds = s.value(key).trimmed().replace(u',', u'.').toDouble(&ok);
    if (!ok || !(seconds > 0))
        return fallbackMs;
    return int(std::lround(std::min(seconds, 86400.0) * 1000));
}

struct Sink {
    CURL* curl;
    QSaveFile* file;
    bool writeFailed = false;
};

// Only the body of a 200 answer is kept; anything else is read and dropped, so the
// status can still be told.
size_t toFile(char* data, size_t size, size_t count, void* userdata)
{
    auto* sink = static_cast<Sink*>(userdata);
    const size_t n = size * count;
    long status = 0;
    curl_easy_getinfo(sink->curl, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200)
        return n;
    if (sink->file->write(data, qint64(n)) != qint64(n)) {
        sink->writeFailed = true;
        return 0;
    }
    return n;
}

HttpResult failure(int number, QString text, long status = 0, int curlCode = 0)
{
    HttpResult r;
    r.status = status;
    r.curlCode = curlCode;
    r.errorNumber = number;
    r.error = std::move(text);
    return r;
}

HttpResult transferFailure(CURLcode code, long status, const QString& url)
{
    namespace en = error_no;
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return failure(en::NetworkTimeout, QStringLiteral("Sunucu süre sınırı içinde cevap vermedi: ") + url, status, code);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return failure(en::NetworkUnreachable, QStringLiteral("Sunucuya bağlanılamadı: ") + url, status, code);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return failure(en::NetworkUnreachable, QStringLiteral("Bağlantı indirme sırasında koptu: ") + url, status, code);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        return failure(en::NetworkSecurity, QStringLiteral("Güvenli bağlantı kurulamadı: ") + url, status, code);
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return failure(en::BadAddress, QStringLiteral("Geçersiz adres: ") + url, status, code);
    default:
        return failure(en::NetworkOther,
                       QStringLiteral("İndirme başarısız (%1): %2").arg(QString::fromUtf8(curl_easy_strerror(code)), url),
                       status, code);
    }
}

} // namespace

HttpOptions HttpOptions::fromSettings()
{
    const Settings s = Settings::forProgram();
    HttpOptions o;
    o.connectTimeoutMs = secondsSetting(s, QStringLiteral("http/connect_timeout"), o.connectTimeoutMs);
    o.totalTimeoutMs = secondsSetting(s, QStringLiteral("http/timeout"), o.totalTimeoutMs);
    return o;
}

HttpResult Http::get(const QString& url, const std::filesystem::path& targetFile)
{
    return get(url, targetFile, HttpOptions::fromSettings());
}

HttpResult Http::get(const QString& url, const std::filesystem::path& targetFile, const HttpOptions& options)
{
    if (url.trimmed().isEmpty())
        return failure(error_no::BadAddress, QStringLiteral("İndirme adresi boş."));
    const QString target = fromPath(targetFile);
    std::error_code ec;
    if (!std::filesystem::is_directory(targetFile.parent_path(), ec))
        return failure(error_no::PathNotFound, QStringLiteral("Klasör bulunamadı: ") + fromPath(targetFile.parent_path()));

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return failure(error_no::PathFileAccess, QStringLiteral("Dosya yazılamadı: ") + target);

    initCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        return failure(error_no::NetworkOther, QStringLiteral("İndirme başlatılamadı: ") + url);
    Sink sink{curl.get(), &file};
    const QByteArray address = url.trimmed().toUtf8();
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(options.connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(options.totalTimeoutMs));
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Kuvela");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &toFile);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);

    const CURLcode code = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);

    if (sink.writeFailed)
        return failure(error_no::PathFileAccess, QStringLiteral("Dosya yazılamadı: ") + target, status, code);
    if (code != CURLE_OK)
        return transferFailure(code, status, url);
    if (status != 200)
        return failure(error_no::HttpStatus, QStringLiteral("Sunucu %1 cevabı verdi: %2").arg(status).arg(url), status);
    if (!file.commit())
        return failure(error_no::PathFileAccess, QStringLiteral("Dosya yazılamadı: ") + target, status);
    HttpResult ok;
    ok.status = status;
    return ok;
}

} // namespace kuvela
