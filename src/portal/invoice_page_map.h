#pragma once
// The portal's interactive invoice page as data: its generated ids are fixed offsets
// from the page's base number N (the invoice-date field), its pop-up has fixed paths,
// and its line table is walked cell by cell against the line grid. Plain functions;
// the browser work is in invoice_page_fill.
#include "invoice/line_grid.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kuvela::portal {

// Offsets from N of the fields the uploads fill or read.
namespace offset {
inline constexpr int Ettn = -2;
inline constexpr int InvoiceDate = 0;
inline constexpr int InvoiceTime = 1;
inline constexpr int Currency = 2;
inline constexpr int InvoiceType = 4;
inline constexpr int BuyerTaxNumber = 7;
inline constexpr int BuyerTitle = 8;
inline constexpr int BuyerName = 9;
inline constexpr int BuyerSurname = 10;
inline constexpr int TaxOffice = 15;
inline constexpr int Country = 16;
inline constexpr int Address = 17;
inline constexpr int DespatchNumber = 19;
inline constexpr int DespatchDate = 20;
inline constexpr int AddReturn = 37;
inline constexpr int TaxChoice = 41;
inline constexpr int AddTax = 42;
inline constexpr int LineTable = 43;
inline constexpr int AddLine = 63;
inline constexpr int Note = 79;
// The first number the page hands out after its own fields: the first returned-invoice
// row takes it and the one after, when returns are added before anything else.
inline constexpr int FirstFreeNumber = 119;
} // namespace offset

// N of a freshly opened page on the portal as the program knows it.
inline constexpr int kFreshPageBase = 1026;

// The ids of one opened page.
struct PageMap {
    int N = kFreshPageBase;

    QString gen(int off) const;      // "gen__" & (N + off)
    QString dateGen(int off) const;  // "date-gen__" & (N + off)
    QString lineTable() const;       // "gen__" & (N + 43) & "-b"
    // The j-th returned-invoice row (from 0): its number field and its date field.
    QString returnNumber(int j) const;
    QString returnDate(int j) const;
};

// Fixed elements of the start page and of the pop-up panel.
namespace fixed {
inline const QString TaxpayerNumber = QStringLiteral("gen__1005");
inline const QString Logout = QStringLiteral("gen__1008");
inline const QString DateContainerClass = QStringLiteral("csc-tarih-container");
inline const QString PopupMessage = QStringLiteral("//*[@id='runtime-body']/div[6]/div[2]/div/table/tbody/tr/td/span");
inline const QString PopupClose = QStringLiteral("//*[@id='runtime-body']/div[6]/div[1]/div[2]");
inline const QString PopupConfirm = QStringLiteral("//*[@id='runtime-body']/div[6]/div[2]/div/div/div/input");
inline const QString TabClose = QStringLiteral("//*[@id='gen__1018']/div[1]/div[1]/ul/li[2]/div");
inline const QString GrandTotalRel = QStringLiteral("vergilerDahilToplamTutar");
} // namespace fixed

// The number of a generated id: every digit after "gen__" ("gen__10026" is 10026,
// "date-gen__1046" is 1046, "gen__1069-b" is 1069). nullopt when there is none.
std::optional<long long> genNumber(const QString& id);
// N from the date container's id: every digit after "gen__" ("gen__10026" is 10026);
// nullopt when the id carries no usable number. Both uploads read their page's N so.
std::optional<int> baseIdOf(const QString& containerId);
// The single upload's N: the fresh page's 1026 when no id was read or it has no number.
int baseIdOr1026(const std::optional<QString>& containerId);

// ---- values as the page takes them -----------------------------------------------------

// The buyer name in the title, given-name and surname fields. A company (the searched
// number shorter than 11 characters) goes whole into the title; a person is cut at the
// last blank or middle dot (U+00B7) into given name and surname, and a name without
// either goes whole into the given name. The name is trimmed first.
struct BuyerNames {
    QString title;      // uunvan
    QString givenName;  // aad
    QString surname;    // ssoyad
    bool operator==(const BuyerNames&) const = default;
};
BuyerNames splitBuyerName(const QString& text19, const QString& text20);

// dd/mm/yyyy with slashes, whatever the system's date separator.
QString portalDate(const QDate& date);

// The extra taxes of the grid to add on the page, in column order: the first five
// characters of every title from the 10th column on that starts with a tax code
// ("V" and four digits).
QStringList extraTaxCodes(const invoice::LineGrid& grid);

// ---- the line table ----------------------------------------------------------------------

// One input, select or span inside the line table, as the page reports it.
struct LineElement {
    QString tag;    // "input", "select" or "span"
    QString id;
    QString type;   // property "type": "text", "select-one", "button", ...
    QString cls;    // attribute "class"
    QString value;  // for the records only; never used to classify
    QString text;   // visible text (spans)
};

enum class CellKind { Button, ReadOnly, Input, Select, Other };
// By type and class only: a button takes no column, a "rospan" span is a read-only
// cell, a text input is typed, a select is chosen from; anything else is Other.
CellKind cellKind(const LineElement& element);

// The elements whose id begins with "gen" and carries a number, ordered by that number
// (ids pass 9999 on a long session, so never by their text).
std::vector<LineElement> sortedLineElements(std::vector<LineElement> elements);

// One step of the walk, run by the browser side.
struct WalkAction {
    enum class Kind { Click, Type, Wait, SelectText, SelectValue, ClickConfirm, Tab };
    Kind kind = Kind::Wait;
    QString id;    // element id (Click, Type, SelectText, SelectValue)
    QString text;  // typed text, visible text or value
    int ms = 0;    // Wait
    int line = 0;  // 1-based line of the grid the step belongs to
    int column = 0;  // 0-based grid column (1 = name, 6 = discount amount)
    bool operator==(const WalkAction&) const = default;
};

// Pairs the sorted elements with the grid's cells, line by line: read-only cells take
// their column untyped, buttons take none, one element after each line is passed over.
// An element that is neither typed nor chosen is handled as the one before it. The
// withholding code (TEVKİFAT) and the special-base reason (ÖZEL MATRAH) are chosen by
// value with their pop-up steps. Ends when the elements run out.
std::vector<WalkAction> planLineWalk(const std::vector<LineElement>& sorted, const invoice::LineGrid& grid,
                                     invoice::InvoiceKind kind);

// The add-line loop: after one click per line, more clicks while the table holds no
// more rows than there are lines, at most this many, so a page that adds nothing
// cannot hold the road.
int extraAddLineClicks(int lines);

// A step as the skip record names it: "tıklama gen__1033", "seçim (değer) gen__1093: 801".
QString describe(const WalkAction& action);

} // namespace kuvela::portal
