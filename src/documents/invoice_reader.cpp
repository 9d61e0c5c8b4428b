#include "documents/invoice_reader.h"

#include "platform/webdriver_tables.h"
#include "platform/workbook.h"

#include <QFileInfo>
#include <QUrl>

namespace kuvela::documents {

void InvoiceHtmlReader::start()
{
    ChromeOptions options = ChromeOptions::fromSettings({QStringLiteral("--headless")});
    options.headless = true;  // a reader never shows a window, whatever the setting says
    driver_.start(options);
}

bool InvoiceHtmlReader::load(const QString& path)
{
    read_.clear();
    readAlong_ = false;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        // The browser would show its error page under the same address; an empty page
        // keeps the previous file's tables from being read again.
        driver_.navigate(QStringLiteral("about:blank"));
        return false;
    }
    const QString address = localFileAddress(path);
    driver_.navigate(address);
    // The browser may write the address's escapes its own way; the file is what counts.
    const QUrl now(driver_.currentUrl());
    return now.isLocalFile() && now.toLocalFile() == QUrl(address).toLocalFile();
}

std::vector<HtmlTable> InvoiceHtmlReader::tables(const QString& xpath)
{
    if (tableRead() == TableRead::CellByCell)
        return readTables(driver_, Locator::xpath(xpath));
    if (const auto it = read_.find(xpath); it != read_.end())
        return it->second;
    if (readAlong_)
        return readTables(driver_, Locator::xpath(xpath));
    readAlong_ = true;
    // Everything but the line table (unless asked), which only some roads read and which is the long one.
    QStringList wanted = {QString::fromLatin1(kNotesTableXPath), QString::fromLatin1(kHeaderTableXPath),
                          QString::fromLatin1(kBuyerTableXPath), sellerTableXPath(true), sellerTableXPath(false),
                          totalsTableXPath(true), totalsTableXPath(false)};
    if (linesAlong_)
        wanted << QString::fromLatin1(kLineTableXPath);
    if (!wanted.contains(xpath))
        wanted.prepend(xpath);
    std::vector<Locator> locators;
    for (const QString& x : wanted)
        locators.push_back(Locator::xpath(x));
    const std::vector<std::vector<HtmlTable>> sets = readTableSets(driver_, locators);
    for (size_t i = 0; i < sets.size(); ++i)
        read_[wanted[qsizetype(i)]] = sets[i];
    return read_[xpath];
}

HtmlTable InvoiceHtmlReader::firstTable(const QString& xpath)
{
    std::vector<HtmlTable> all = tables(xpath);
    return all.empty() ? HtmlTable() : std::move(all.front());
}

QString browserFailureText(const std::exception& e)
{
    if (const auto* w = dynamic_cast<const WebDriverError*>(&e))
        return w->fullMessage();
    if (const auto* b = dynamic_cast<const WorkbookError*>(&e))
        return b->message() + QStringLiteral(" Hata No: ") + QString::number(b->code());
    return QString::fromStdString(e.what());
}

} // namespace kuvela::documents
