#include "platform/webdriver_input.h"

#include <QStringList>
#include <algorithm>
#include <vector>

namespace kuvela {

QString cssString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            out += c;
    }
    return out + u'"';
}

QString cssIdentifier(const QString& ident)
{
    QString out;
    const qsizetype n = ident.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = ident[i].unicode();
        const bool digit = c >= u'0' && c <= u'9';
        if (c == 0)
            out += QChar(0xFFFD);
        else if ((c >= 1 && c <= 0x1f) || c == 0x7f || (i == 0 && digit) || (i == 1 && digit && ident[0] == u'-'))
            out += QStringLiteral("\\%1 ").arg(int(c), 0, 16);
        else if (i == 0 && n == 1 && c == u'-')
            out += QStringLiteral("\\-");
        else if (c >= 0x80 || c == u'-' || c == u'_' || digit || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            out += QChar(c);
        else
            out += u'\\' + QString(QChar(c));
    }
    return out;
}

QString xpathLiteral(const QString& text)
{
    if (!text.contains(u'\''))
        return u'\'' + text + u'\'';
    if (!text.contains(u'"'))
        return u'"' + text + u'"';
    QStringList parts;
    const QStringList pieces = text.split(u'\'');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            parts << QStringLiteral("\"'\"");
        if (!pieces[i].isEmpty())
            parts << u'\'' + pieces[i] + u'\'';
    }
    return QStringLiteral("concat(") + parts.join(u',') + u')';
}

std::pair<std::string, std::string> Locator::toW3C() const
{
    switch (by) {
    case By::Id:
        // "#id" takes the page's own look-up by id; an empty id has no such form.
        if (value.isEmpty())
            return {"css selector", "[id=\"\"]"};
        return {"css selector", (u'#' + cssIdentifier(value)).toStdString()};
    case By::Name:
        return {"css selector", (QStringLiteral("[name=") + cssString(value) + u']').toStdString()};
    case By::Value:
        return {"css selector", (QStringLiteral("[value=") + cssString(value) + u']').toStdString()};
    case By::ClassName: {
        // The old library took one class; several given with blanks must all be present.
        QString selector;
        for (const QString& cls : value.split(u' ', Qt::SkipEmptyParts))
            selector += u'.' + cssIdentifier(cls);
        return {"css selector", selector.isEmpty() ? std::string(".") : selector.toStdString()};
    }
    case By::LinkText:
        return {"link text", value.toStdString()};
    case By::PartialLinkText:
        return {"partial link text", value.toStdString()};
    case By::XPath:
        return {"xpath", value.toStdString()};
    case By::TagName:
        return {"tag name", value.toStdString()};
    case By::Css:
        break;
    }
    return {"css selector", value.toStdString()};
}

QString Locator::describe() const
{
    static const char* names[] = {"id", "name", "link text", "partial link text", "class", "xpath", "css", "tag", "value"};
    return QString::fromLatin1(names[int(by)]) + u'=' + value;
}

namespace {
bool isModifier(char32_t k)
{
    return k == 0xE008 || k == 0xE009 || k == 0xE00A || k == 0xE03D || (k >= 0xE050 && k <= 0xE053);
}
} // namespace

nlohmann::json keyActions(const QString& keys)
{
    nlohmann::json steps = nlohmann::json::array();
    std::vector<std::string> held;
    auto key = [](const char* type, const std::string& v) { return nlohmann::json{{"type", type}, {"value", v}}; };
    auto releaseAll = [&] {
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            steps.push_back(key("keyUp", *it));
        held.clear();
    };
    for (const char32_t cp : keys.toUcs4()) {
        const std::string v = QString::fromUcs4(&cp, 1).toStdString();
        if (cp == 0xE000) {
            releaseAll();
        } else if (isModifier(cp)) {
            auto it = std::find(held.begin(), held.end(), v);
            if (it != held.end()) {
                steps.push_back(key("keyUp", v));
                held.erase(it);
            } else {
                steps.push_back(key("keyDown", v));
                held.push_back(v);
            }
        } else {
            steps.push_back(key("keyDown", v));
            steps.push_back(key("keyUp", v));
        }
    }
    releaseAll();
    nlohmann::json source = nlohmann::json::object();
    source["type"] = "key";
    source["id"] = "keyboard";
    source["actions"] = std::move(steps);
    nlohmann::json sources = nlohmann::json::array();
    sources.push_back(std::move(source));
    return sources;
}

} // namespace kuvela
