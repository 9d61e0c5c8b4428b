#pragma once
// The product-card catalogue of the line dialog over DATA.xlsx: code lists from
// kodDATA, companies from prgDATA, cards on sDATA (one per row, sixteen columns).
// Every operation opens the workbook and lets go of it; failures come as WorkbookError
// with a Turkish message.
#include "platform/workbook.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>

namespace kuvela::masterdata {

// A card's texts of the line dialog's boxes, in the order of sDATA's columns 3 to 16.
// No card stores a quantity.
struct ProductCardFields {
    QString name;
    QString unit;
    QString unitPrice;
    QString discountRate;
    QString vatRate;
    QString withholdingItem;
    QString withholdingRate;
    QString extraTax1;
    QString extraTax1Rate;
    QString extraTax2;
    QString extraTax2Rate;
    QString gtip;
    QString specialReason;
    QString specialAmount;
    bool operator==(const ProductCardFields&) const = default;
};

// One sDATA row: columns 1 and 2, then the fields.
struct ProductCard {
    QString code;     // Combo9
    QString company;  // Text1: a company, or "Firmalarım" for every company
    ProductCardFields fields;

    QStringList columns() const;
    static ProductCard fromColumns(const QStringList& columns);
    bool operator==(const ProductCard&) const = default;
};

// The dialog's item lists from kodDATA.
struct ProductCodeLists {
    QStringList withholding;     // Combo3: B & " % " & C
    QStringList extraTaxes;      // Combo4 and Combo5: E & "-" & F & "%"
    QStringList units;           // Combo1: O
    QStringList vatRates;        // Combo2: Q
    QStringList specialReasons;  // Combo10: M
};

struct ProductCardLists {
    QStringList codes;  // Combo6: column 1
    QStringList names;  // Combo8: column 3
};

struct ProductCatalogue {
    ProductCodeLists codeLists;
    QStringList companies;  // Combo7; only when the filter is empty
    ProductCardLists cards;
};

QString allCompaniesText();  // "Firmalarım"

ProductCodeLists readProductCodeLists(const Sheet& kodDATA);
// prgDATA row 2 from column B to the first empty cell; column B only in single-company mode.
QStringList readCompanyNames(const Sheet& prgDATA, bool singleCompany);
// Cards from row 2 while column 3 is filled: the filter's and "Firmalarım"'s, every card for an empty filter.
ProductCardLists readProductCardLists(const Sheet& sDATA, const QString& filter);

// Form_Load's reading.
ProductCatalogue loadProductCatalogue(const std::filesystem::path& dataFile, const QString& filter,
                                      bool singleCompany);

// "SEÇ": the key is the name (column 3) when given, else the code (column 1), else the
// empty name. Rows are scanned from row 1 down to the first row whose key cell is
// empty, that row included; the last match wins. nullopt: nothing to load.
std::optional<ProductCard> pickProductCard(const Sheet& sDATA, const QString& nameKey, const QString& codeKey);
std::optional<ProductCard> pickProductCard(const std::filesystem::path& dataFile, const QString& nameKey,
                                           const QString& codeKey);

// The first row from row 2 with none of the card's columns filled: a row with an
// empty name but other cells filled is someone's data and is never written over.
int firstFreeCardRow(const Sheet& sDATA);

// "KAYDET YENİ": writes the card into the first free row and saves; returns that row.
// Nothing is written when the save is refused (the file open in a spreadsheet program).
int saveNewProductCard(const std::filesystem::path& dataFile, const ProductCard& card);

} // namespace kuvela::masterdata
