#pragma once
// "PDF": an invoice HTML printed by the browser into the company's Pdf folder.
#include <QByteArray>
#include <QString>
#include <filesystem>

namespace kuvela::documents {

// The PDF's name without ".pdf": the file name without its last 26 characters (the
// type text and package tail of a filed invoice), or, for a name of 26 characters
// or fewer, without its extension; "/" cannot stand in a name and becomes "-".
QString pdfTitle(const QString& fileName);

// What the road needs to know before and after the browser.
struct PdfOutcome {
    bool written = false;
    std::filesystem::path file;
};

// Prints the HTML file to folder/<title>.pdf through a headless browser: the file
// must be readable, the browser must have loaded that very file, and the PDF must be
// non-empty; it is written under a temporary name and renamed. Throws WebDriverError
// from the browser; returns written = false when a check failed.
PdfOutcome printHtmlToPdf(const QString& htmlFile, const std::filesystem::path& folder, const QString& title);

} // namespace kuvela::documents
