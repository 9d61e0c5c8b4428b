#pragma once
// A headless browser that loads invoice HTML files and reads their tables, each in one
// page script. One reader serves one road; the browser ends with the reader, on every path.
#include "documents/invoice_html.h"
#include "platform/webdriver.h"

#include <QString>
#include <map>
#include <vector>

namespace kuvela::documents {

class InvoiceHtmlReader {
public:
    InvoiceHtmlReader() = default;
    ~InvoiceHtmlReader() { driver_.quit(); }
    InvoiceHtmlReader(const InvoiceHtmlReader&) = delete;
    InvoiceHtmlReader& operator=(const InvoiceHtmlReader&) = delete;

    // Starts the headless browser; throws WebDriverError when it cannot.
    void start();
    // Loads the file; false when it is not a readable file (an empty page is shown
    // instead) or the browser ended up anywhere but that file.
    bool load(const QString& path);

    // Every table the XPath yields, in document order: rows are the table's "tr"
    // descendants, cells a row's "td" descendants; texts as the driver's element text.
    // The first ask after a load reads the document's small tables along with it, in
    // the same request, and later asks for them take what was read.
    std::vector<HtmlTable> tables(const QString& xpath);
    // The line table goes along too, for a road that reads it of every page anyway.
    void readLinesAlong() { linesAlong_ = true; }
    HtmlTable firstTable(const QString& xpath);

    WebDriver& driver() { return driver_; }

private:
    WebDriver driver_;
    std::map<QString, std::vector<HtmlTable>> read_;  // of the loaded page, by XPath
    bool readAlong_ = false;
    bool linesAlong_ = false;
};

// The reason a browser road failed, as panel 7 tells it.
QString browserFailureText(const std::exception& e);

} // namespace kuvela::documents
