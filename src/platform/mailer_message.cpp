// The message as it goes on the wire: RFC 5322 headers, MIME parts, CR LF lines.
#include "platform/mailer.h"

#include "platform/paths.h"

#include <QFile>
#include <QMimeDatabase>
#include <QUuid>

namespace kuvela {
namespace {

// Raw bytes of one encoded word; a multiple of 3 keeps padding out of the middle of
// a header, and 39 keeps "Subject: " and the first word under 78 columns.
constexpr qsizetype kWordBytes = 39;
constexpr qsizetype kParamSegment = 54;  // " filename*0*=UTF-8''", the segment and ";" within 78

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7f || c == 0x2028 || c == 0x2029;
}

// A header value on one line: a CR LF pair, a lone CR or LF and any other control
// character become one blank each, so nothing typed can start a header of its own.
QString oneLine(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        out += isControl(c) ? QChar(u' ') : QChar(c);
    }
    return out;
}

bool plainAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// Base64 in lines of 76, each ended by CR LF.
QByteArray base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    out.reserve(encoded.size() + encoded.size() / 38 + 2);
    for (qsizetype at = 0; at < encoded.size(); at += 76)
        out += encoded.mid(at, 76) + "\r\n";
    return out;
}

// Encoded words of whole characters, never splitting a character's UTF-8 bytes.
QByteArrayList encodedWords(const QString& text)
{
    QByteArrayList words;
    QByteArray chunk;
    auto flush = [&] {
        if (!chunk.isEmpty())
            words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            length = 2;
        const QByteArray character = text.mid(i, length).toUtf8();
        if (chunk.size() + character.size() > kWordBytes)
            flush();
        chunk += character;
        i += length - 1;
    }
    flush();
    return words;
}

QByteArray quoted(const QString& asciiText)
{
    QByteArray out = "\"";
    for (QChar c : asciiText) {
        if (c == u'"' || c == u'\\')
            out += '\\';
        out += char(c.unicode());
    }
    return out + '"';
}

// A display name as an RFC 5322 phrase.
QByteArray phrase(const QString& name)
{
    const QString text = oneLine(name).trimmed();
    if (!plainAscii(text) || text.contains(QStringLiteral("=?")))
        return encodedWords(text).join(' ');
    static const QString atext = QStringLiteral("!#$%&'*+-/=?^_`{|}~ ");
    for (QChar c : text)
        if (!c.isLetterOrNumber() && !atext.contains(c))
            return quoted(text);
    return text.toLatin1();
}

struct Address {
    QString name;
    QString mailbox;
};

bool validMailbox(const QString& mailbox)
{
    static const QString forbidden = QStringLiteral("<>()[]\\,;:\" ");
    if (!plainAscii(mailbox) || mailbox.count(u'@') != 1)
        return false;
    for (QChar c : mailbox)
        if (forbidden.contains(c))
            return false;
    const qsizetype at = mailbox.indexOf(u'@');
    return at > 0 && at < mailbox.size() - 1;
}

QString parseAddresses(const QString& list, std::vector<Address>& out)
{
    for (const QString& item : splitAddressList(list)) {
        Address a;
        a.mailbox = bareMailbox(item);
        const qsizetype open = item.lastIndexOf(u'<');
        if (open >= 0) {
            const qsizetype close = item.indexOf(u'>', open);
            if (close < 0 || !item.mid(close + 1).trimmed().isEmpty())
                return QStringLiteral("Geçersiz e-posta adresi: ") + item;
            a.name = item.left(open).trimmed();
            if (a.name.size() >= 2 && a.name.startsWith(u'"') && a.name.endsWith(u'"'))
                a.name = a.name.mid(1, a.name.size() - 2).replace(QStringLiteral("\\\""), QStringLiteral("\""));
        }
        if (!validMailbox(a.mailbox))
            return QStringLiteral("Geçersiz e-posta adresi: ") + item;
        out.push_back(a);
    }
    return {};
}

QByteArray headerForm(const Address& a)
{
    const QByteArray name = phrase(a.name);
    return name.isEmpty() ? a.mailbox.toLatin1() : name + " <" + a.mailbox.toLatin1() + ">";
}

QByteArray addressHeader(const char* field, const std::vector<Address>& list)
{
    QByteArrayList forms;
    for (const Address& a : list)
        forms << headerForm(a);
    return QByteArray(field) + ": " + forms.join(",\r\n ") + "\r\n";
}

QByteArray rfc5322Date(const QDateTime& date)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = date.date();
    const QTime t = date.time();
    const int offset = date.offsetFromUtc() / 60;
    const int absolute = offset < 0 ? -offset : offset;
    return QByteArray(days[d.dayOfWeek() - 1]) + ", " + QByteArray::number(d.day()).rightJustified(2, '0') + ' '
           + months[d.month() - 1] + ' ' + QByteArray::number(d.year()) + ' '
           + t.toString(QStringLiteral("HH:mm:ss")).toLatin1() + ' ' + (offset < 0 ? '-' : '+')
           + QByteArray::number(absolute / 60).rightJustified(2, '0')
           + QByteArray::number(absolute % 60).rightJustified(2, '0');
}

// RFC 2231 attribute characters stay, everything else is %XX of its UTF-8 bytes.
QStringList percentTokens(const QString& value)
{
    static const QByteArray keep = "!#$&+-.^_`|~";
    QStringList tokens;
    for (unsigned char b : value.toUtf8()) {
        const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (alnum || keep.contains(char(b)))
            tokens << QString(QChar(b));
        else
            tokens << QStringLiteral("%%1").arg(int(b), 2, 16, QChar(u'0')).toUpper();
    }
    return tokens;
}

// ";\r\n filename=..." with a plain quoted value, or RFC 2231 (with continuations
// when long) for a name that is not plain ASCII.
QByteArray fileNameParameter(const char* attribute, const QString& name)
{
    const QByteArray attr(attribute);
    if (plainAscii(name))
        return ";\r\n " + attr + '=' + quoted(name);
    QStringList segments{QString()};
    for (const QString& token : percentTokens(name)) {
        if (segments.last().size() + token.size() > kParamSegment)
            segments << QString();
        segments.last() += token;
    }
    if (segments.size() == 1)
        return ";\r\n " + attr + "*=UTF-8''" + segments.first().toLatin1();
    QByteArray out;
    for (int i = 0; i < segments.size(); ++i)
        out += ";\r\n " + attr + '*' + QByteArray::number(i) + "*=" + (i == 0 ? "UTF-8''" : "")
               + segments.at(i).toLatin1();
    return out;
}

// The Content-Type name for readers that know no RFC 2231.
QByteArray nameParameter(const QString& name)
{
    if (plainAscii(name))
        return ";\r\n name=" + quoted(name);
    return ";\r\n name=\"" + encodedWords(name).join("\r\n ") + '"';
}

QByteArray textBody(const QString& body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return "Content-Type: text/plain; charset=UTF-8\r\n"
           "Content-Transfer-Encoding: base64\r\n\r\n"
           + base64Lines(text.toUtf8());
}

QString attachmentPart(const MailAttachment& attachment, QByteArray& out)
{
    const QString path = fromPath(attachment.file);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Ek dosyası okunamadı: ") + path;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Ek dosyası okunamadı: ") + path;
    const QString name = oneLine(attachment.name.isEmpty() ? fromPath(attachment.file.filename()) : attachment.name);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QByteArray typeName = type.isValid() && !type.isDefault() ? type.name().toLatin1() : "application/octet-stream";
    out += "Content-Type: " + typeName + nameParameter(name) + "\r\n";
    out += "Content-Disposition: attachment" + fileNameParameter("filename", name) + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    out += base64Lines(data);
    return {};
}

} // namespace

QByteArray encodeHeaderText(const QString& text)
{
    const QString line = oneLine(text);
    // Long plain lines are encoded too, so that they fold.
    if (plainAscii(line) && !line.contains(QStringLiteral("=?")) && line.size() <= 66)
        return line.toLatin1();
    return encodedWords(line).join("\r\n ");
}

BuiltMail buildMail(const MailMessage& message, const QDateTime& date)
{
    BuiltMail mail;
    std::vector<Address> from, to, cc, bcc;
    for (auto [text, list] : {std::pair{&message.from, &from}, {&message.to, &to}, {&message.cc, &cc},
                              {&message.bcc, &bcc}}) {
        mail.error = parseAddresses(*text, *list);
        if (!mail.error.isEmpty())
            return mail;
    }
    if (from.size() != 1) {
        mail.error = from.empty() ? QStringLiteral("Gönderen e-posta adresi girilmemiş.")
                                  : QStringLiteral("Gönderen tek bir e-posta adresi olmalı: ") + message.from;
        return mail;
    }
    for (const auto* list : {&to, &cc, &bcc})
        for (const Address& a : *list)
            if (!mail.recipients.contains(a.mailbox, Qt::CaseInsensitive))
                mail.recipients << a.mailbox;
    if (mail.recipients.isEmpty()) {
        mail.error = QStringLiteral("Alıcı e-posta adresi girilmemiş.");
        return mail;
    }
    mail.envelopeFrom = from.front().mailbox;

    QByteArray out;
    out += "Date: " + rfc5322Date(date) + "\r\n";
    out += addressHeader("From", from);
    if (!to.empty())
        out += addressHeader("To", to);
    if (!cc.empty())
        out += addressHeader("Cc", cc);
    out += "Subject: " + encodeHeaderText(message.subject) + "\r\n";
    const QString domain = mail.envelopeFrom.mid(mail.envelopeFrom.indexOf(u'@') + 1);
    out += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' + domain.toLatin1()
           + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    if (message.attachments.empty()) {
        out += textBody(message.body);
        mail.bytes = out;
        return mail;
    }
    // Base64 never holds "=_", so the boundary cannot occur inside a part.
    const QByteArray boundary = "=_kuvela_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n" + textBody(message.body);
    for (const MailAttachment& attachment : message.attachments) {
        out += "--" + boundary + "\r\n";
        mail.error = attachmentPart(attachment, out);
        if (!mail.error.isEmpty())
            return mail;
    }
    out += "--" + boundary + "--\r\n";
    mail.bytes = out;
    return mail;
}

QStringList splitAddressList(const QString& list)
{
    QStringList items;
    QString current;
    bool inQuotes = false, inAngle = false;
    for (QChar c : list) {
        if (c == u'"' && !inAngle)
            inQuotes = !inQuotes;
        else if (c == u'<' && !inQuotes)
            inAngle = true;
        else if (c == u'>' && !inQuotes)
            inAngle = false;
        if ((c == u';' || c == u',') && !inQuotes && !inAngle) {
            items << current;
            current.clear();
        } else {
            current += c;
        }
    }
    items << current;
    QStringList out;
    for (const QString& item : items)
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    return out;
}

QString bareMailbox(const QString& address)
{
    const qsizetype open = address.lastIndexOf(u'<');
    const qsizetype close = open < 0 ? -1 : address.indexOf(u'>', open);
    return (close < 0 ? address : address.mid(open + 1, close - open - 1)).trimmed();
}

} // namespace kuvela
