#pragma once
// Outgoing mail: SMTP over implicit TLS (smtps, port 465) with login, through libcurl.
// The server's certificate is always verified; a private CA (a test server's) is handed
// over as a file, never by switching the check off. Passwords go nowhere but the server.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

namespace kuvela {

struct MailAccount {
    QString host;      // "smtp.example.com"; no scheme
    int port = 465;
    QString user;      // the login, which is also the account's mailbox
    QString password;
    QString caFile;    // PEM file of the CAs to trust instead of the system's; empty: the system's
    int connectTimeoutMs = 15000;
    int totalTimeoutMs = 120000;

    // "mail/host", "mail/port", "mail/user", "mail/password", "mail/cafile",
    // "mail/connect_timeout" and "mail/timeout" (seconds) of the program's settings.
    static MailAccount fromSettings();
    // Host, user and password are there.
    bool configured() const;
};

struct MailAttachment {
    std::filesystem::path file;
    QString name;  // the name the receiver sees; the file's own name when empty
};

struct MailMessage {
    QString from;     // "adres" or "Ad Soyad <adres>"
    QString to;       // one or more addresses, separated by ";" or ","
    QString cc;
    QString bcc;      // only in the envelope, never in the headers
    QString subject;  // a line break in it becomes a blank
    QString body;     // plain text; any line break goes out as CR LF
    std::vector<MailAttachment> attachments;
};

// How a send failed, as the windows tell it apart.
enum class MailFailure { None, Login, Connection, Other };
MailFailure mailFailureOf(int curlCode);

// The three texts a window shows for the three kinds of failure.
struct MailReadings {
    QString login;
    QString connection;
    QString other;
    // "Sunucu yetki hatası ! ", " İnternet bağlantı hatası ! ",
    // "Mesaj iletimi sırasında bir hata oluştu !".
    static MailReadings standard();
};

struct MailResult {
    MailFailure failure = MailFailure::None;
    int curlCode = 0;     // 0 when the failure came before the transfer (a bad address, an unreadable file)
    QString description;  // the failure in the transport's words, with the server's answer when one came
    bool ok() const { return failure == MailFailure::None; }
    QString reading(const MailReadings& readings = MailReadings::standard()) const;
};

// The addresses of a list typed with ";" or "," between them; a separator inside
// quotes or angle brackets ("\"Soyad, Ad\" <a@b.c>") belongs to its address. Each
// trimmed, empty ones dropped.
QStringList splitAddressList(const QString& list);
// The mailbox of one address: what stands in its angle brackets, else the whole text.
QString bareMailbox(const QString& address);

// The message as it goes on the wire (RFC 5322, MIME, CR LF lines) and its envelope.
struct BuiltMail {
    QByteArray bytes;
    QString envelopeFrom;
    QStringList recipients;  // To, CC and BCC, each once
    QString error;           // Turkish; the message was not built when set
};
BuiltMail buildMail(const MailMessage& message, const QDateTime& date);

// RFC 2047 encoded words (UTF-8, base64) for a header text that is not plain ASCII;
// plain ASCII comes back as it is. Control characters and line breaks become blanks.
QByteArray encodeHeaderText(const QString& text);

class Mailer {
public:
    // Blocks until the server has taken the message or the time limits have passed.
    static MailResult send(const MailAccount& account, const MailMessage& message);
};

} // namespace kuvela
