#pragma once
// How elements are named to the driver, and how keys travel to it.
#include <QString>
#include <nlohmann/json.hpp>
#include <string>

namespace kuvela {

enum class By { Id, Name, LinkText, PartialLinkText, ClassName, XPath, Css, TagName, Value };

struct Locator {
    By by = By::Css;
    QString value;

    static Locator id(QString v) { return {By::Id, std::move(v)}; }
    static Locator name(QString v) { return {By::Name, std::move(v)}; }
    static Locator linkText(QString v) { return {By::LinkText, std::move(v)}; }
    static Locator partialLinkText(QString v) { return {By::PartialLinkText, std::move(v)}; }
    static Locator className(QString v) { return {By::ClassName, std::move(v)}; }
    static Locator xpath(QString v) { return {By::XPath, std::move(v)}; }
    static Locator css(QString v) { return {By::Css, std::move(v)}; }
    static Locator tagName(QString v) { return {By::TagName, std::move(v)}; }
    // The element whose value attribute is the text (the old library's FindElementByValue).
    static Locator byValue(QString v) { return {By::Value, std::move(v)}; }

    // The W3C strategy and selector: the driver refuses "id", "name" and "class name",
    // so these go as CSS selectors.
    std::pair<std::string, std::string> toW3C() const;
    // "id=gen__1006", for messages and logs.
    QString describe() const;
};

// A CSS string literal: "…" with quotes, backslashes and line breaks escaped.
QString cssString(const QString& text);
// A CSS identifier as CSS.escape() gives it.
QString cssIdentifier(const QString& ident);
// An XPath string literal for any text, quotes of both kinds included.
QString xpathLiteral(const QString& text);

// The special keys, as W3C key codes.
namespace Keys {
inline const QString Null = QString(QChar(0xE000));
inline const QString Backspace = QString(QChar(0xE003));
inline const QString Tab = QString(QChar(0xE004));
inline const QString Enter = QString(QChar(0xE007));
inline const QString Shift = QString(QChar(0xE008));
inline const QString Control = QString(QChar(0xE009));
inline const QString Alt = QString(QChar(0xE00A));
inline const QString Escape = QString(QChar(0xE00C));
inline const QString End = QString(QChar(0xE010));
inline const QString Home = QString(QChar(0xE011));
inline const QString ArrowUp = QString(QChar(0xE013));
inline const QString ArrowDown = QString(QChar(0xE015));
inline const QString Delete = QString(QChar(0xE017));
// A modifier held for the keys, released after them: chord(Control, "a").
inline QString chord(const QString& modifier, const QString& keys) { return modifier + keys + Null; }
} // namespace Keys

// The key input source actions that type the keys into whatever has the focus:
// a modifier stays down until pressed again, until Null, or until the end.
nlohmann::json keyActions(const QString& keys);

} // namespace kuvela
