#include "platform/mailer.h"

#include "platform/clock.h"
#include "platform/settings.h"

#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

namespace kuvela {
namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int millisecondsOf(const QString& seconds, int fallbackMs)
{
    bool ok = false;
    const double s = QString(seconds).trimmed().replace(u',', u'.').toDouble(&ok);
    return ok && s > 0 ? int(std::lround(std::min(s, 3600.0) * 1000)) : fallbackMs;
}

MailResult failed(MailFailure failure, QString description, int curlCode = 0)
{
    MailResult r;
    r.failure = failure;
    r.curlCode = curlCode;
    r.description = std::move(description);
    return r;
}

struct Upload {
    const QByteArray* bytes;
    qsizetype at = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userdata)
{
    auto* upload = static_cast<Upload*>(userdata);
    const size_t left = size_t(upload->bytes->size() - upload->at);
    const size_t n = std::min(size * count, left);
    std::memcpy(buffer, upload->bytes->constData() + upload->at, n);
    upload->at += qsizetype(n);
    return n;
}

// Keeps the server's last refusal ("535 5.7.8 ..."). Only the server's lines are
// looked at; what the client sends (the login among it) is never kept.
int keepServerRefusal(CURL*, curl_infotype type, char* data, size_t size, void* userdata)
{
    if (type != CURLINFO_HEADER_IN || size == 0 || (data[0] != '4' && data[0] != '5'))
        return 0;
    *static_cast<QString*>(userdata) = QString::fromUtf8(data, qsizetype(size)).trimmed();
    return 0;
}

QString urlHost(const QString& host)
{
    return host.contains(u':') && !host.startsWith(u'[') ? u'[' + host + u']' : host;
}

} // namespace

MailAccount MailAccount::fromSettings()
{
    const Settings s = Settings::forProgram();
    MailAccount a;
    a.host = s.value(QStringLiteral("mail/host")).trimmed();
    a.port = s.intValue(QStringLiteral("mail/port"), a.port);
    a.user = s.value(QStringLiteral("mail/user")).trimmed();
    a.password = s.value(QStringLiteral("mail/password"));
    a.caFile = s.value(QStringLiteral("mail/cafile")).trimmed();
    a.connectTimeoutMs = millisecondsOf(s.value(QStringLiteral("mail/connect_timeout")), a.connectTimeoutMs);
    a.totalTimeoutMs = millisecondsOf(s.value(QStringLiteral("mail/timeout")), a.totalTimeoutMs);
    return a;
}

bool MailAccount::configured() const
{
    return !host.isEmpty() && !user.isEmpty() && !password.isEmpty() && port > 0 && port < 65536;
}

MailFailure mailFailureOf(int curlCode)
{
    switch (curlCode) {
    case CURLE_OK:
        return MailFailure::None;
    case CURLE_LOGIN_DENIED:
        return MailFailure::Login;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return MailFailure::Connection;
    default:
        return MailFailure::Other;
    }
}

MailReadings MailReadings::standard()
{
    return {QStringLiteral("Sunucu yetki hatası ! "), QStringLiteral(" İnternet bağlantı hatası ! "),
            QStringLiteral("Mesaj iletimi sırasında bir hata oluştu !")};
}

QString MailResult::reading(const MailReadings& readings) const
{
    switch (failure) {
    case MailFailure::None: return {};
    case MailFailure::Login: return readings.login;
    case MailFailure::Connection: return readings.connection;
    case MailFailure::Other: break;
    }
    return readings.other;
}

MailResult Mailer::send(const MailAccount& account, const MailMessage& message)
{
    if (!account.configured())
        return failed(MailFailure::Other, QStringLiteral("SMTP sunucusu veya hesabı tanımlı değil."));
    const BuiltMail mail = buildMail(message, Clock::instance().now());
    if (!mail.error.isEmpty())
        return failed(MailFailure::Other, mail.error);

    initCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        return failed(MailFailure::Other, QStringLiteral("E-posta gönderimi başlatılamadı."));
    CURL* c = curl.get();
    const QByteArray url = QStringLiteral("smtps://%1:%2/").arg(urlHost(account.host)).arg(account.port).toUtf8();
    const QByteArray user = account.user.toUtf8();
    const QByteArray password = account.password.toUtf8();
    const QByteArray caFile = account.caFile.toUtf8();
    const QByteArray from = '<' + mail.envelopeFrom.toLatin1() + '>';
    curl_slist* recipients = nullptr;
    for (const QString& r : mail.recipients)
        recipients = curl_slist_append(recipients, ('<' + r.toLatin1() + '>').constData());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipientList(recipients, &curl_slist_free_all);

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtps");
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
    Upload upload{&mail.bytes};
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(mail.bytes.size()));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(account.connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(account.totalTimeoutMs));
    QString refusal;
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);  // only to reach keepServerRefusal; nothing is printed
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &keepServerRefusal);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &refusal);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_OK)
        return {};
    QString description = QString::fromUtf8(errorText).trimmed();
    if (description.isEmpty())
        description = QString::fromUtf8(curl_easy_strerror(code));
    if (!refusal.isEmpty())
        description += QStringLiteral(" (") + refusal + u')';
    return failed(mailFailureOf(code), description, code);
}

} // namespace kuvela
