#include "masterdata/contacts.h"

#include "platform/paths.h"

#include <QFile>

namespace kuvela {

namespace {

struct Property {
    QByteArray name;   // upper-cased, group prefix removed
    QByteArray params; // upper-cased, as written
    QByteArray value;  // raw bytes
};

bool isQuotedPrintable(const QByteArray& head)
{
    return head.toUpper().contains("QUOTED-PRINTABLE");
}

// Unfolds continuation lines (leading blank or TAB) and the soft breaks of
// quoted-printable values written by older phones.
QList<QByteArray> logicalLines(QByteArray data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QList<QByteArray> lines;
    for (QByteArray raw : data.split('\n')) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (!lines.isEmpty()) {
            QByteArray& last = lines.last();
            const qsizetype colon = last.indexOf(':');
            if (colon > 0 && isQuotedPrintable(last.left(colon)) && last.endsWith('=')) {
                last.chop(1);
                last += raw;
                continue;
            }
            if (!raw.isEmpty() && (raw.at(0) == ' ' || raw.at(0) == '\t')) {
                last += raw.mid(1);
                continue;
            }
        }
        if (!raw.isEmpty())
            lines << raw;
    }
    return lines;
}

Property splitProperty(const QByteArray& line)
{
    Property p;
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return p;
    const QByteArray head = line.left(colon);
    p.value = line.mid(colon + 1);
    const qsizetype semi = head.indexOf(';');
    p.name = (semi < 0 ? head : head.left(semi)).toUpper();
    p.params = semi < 0 ? QByteArray() : head.mid(semi + 1).toUpper();
    const qsizetype dot = p.name.lastIndexOf('.');
    if (dot >= 0)
        p.name = p.name.mid(dot + 1);
    return p;
}

QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) == '=' && i + 2 < in.size()) {
            bool ok = false;
            const int byte = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(byte);
                i += 2;
                continue;
            }
        }
        out += in.at(i);
    }
    return out;
}

QString valueText(const Property& p)
{
    const QByteArray bytes = p.params.contains("QUOTED-PRINTABLE") ? decodeQuotedPrintable(p.value) : p.value;
    return QString::fromUtf8(bytes);
}

// Splits at unescaped separators and resolves the escapes of each part.
QStringList components(const QString& value, QChar separator)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar n = value.at(++i);
            parts.last() += (n == u'n' || n == u'N') ? QChar(u'\n') : n;
        } else if (c == separator) {
            parts << QString();
        } else {
            parts.last() += c;
        }
    }
    return parts;
}

QString unescaped(const QString& value)
{
    return components(value, QChar()).join(QString());
}

// N is family;given;additional;prefix;suffix; the name reads given, additional, family.
QString nameFromN(const QString& value)
{
    const QStringList n = components(value, u';');
    QStringList words;
    for (int i : {1, 2, 0})
        if (i < n.size() && !n.at(i).trimmed().isEmpty())
            words << n.at(i).trimmed();
    return words.join(u' ');
}

} // namespace

std::filesystem::path contactsFile()
{
    return programFolder() / "Data" / toPath(QStringLiteral("Kişiler.vcf"));
}

std::vector<Contact> parseVCards(const QByteArray& utf8)
{
    std::vector<Contact> contacts;
    bool inCard = false, isGroup = false, haveEmail = false;
    Contact card;
    QString nName;
    for (const QByteArray& line : logicalLines(utf8)) {
        const Property p = splitProperty(line);
        if (p.name == "BEGIN" && p.value.trimmed().toUpper() == "VCARD") {
            inCard = true;
            isGroup = haveEmail = false;
            card = Contact();
            nName.clear();
        } else if (!inCard) {
            continue;
        } else if (p.name == "END" && p.value.trimmed().toUpper() == "VCARD") {
            inCard = false;
            if (card.fullName.isEmpty())
                card.fullName = nName;
            if (!isGroup)
                contacts.push_back(card);
        } else if (p.name == "FN") {
            card.fullName = unescaped(valueText(p)).trimmed();
        } else if (p.name == "N") {
            nName = nameFromN(valueText(p));
        } else if (p.name == "EMAIL" && !haveEmail) {
            card.email = unescaped(valueText(p)).trimmed();
            haveEmail = !card.email.isEmpty();
        } else if ((p.name == "KIND" || p.name == "X-ADDRESSBOOKSERVER-KIND")
                   && p.value.trimmed().toLower() == "group") {
            isGroup = true;
        }
    }
    return contacts;
}

std::vector<Contact> readContacts(const std::filesystem::path& file)
{
    QFile f(fromPath(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parseVCards(f.readAll());
}

QStringList contactListEntries(const std::vector<Contact>& contacts)
{
    QStringList entries;
    for (const Contact& c : contacts)
        entries << c.email + u'\t' + c.fullName;
    return entries;
}

} // namespace kuvela
