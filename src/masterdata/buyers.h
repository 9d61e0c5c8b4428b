#pragma once
// Buyers from the customer sheet mDATA: the lists the company load leaves behind,
// the two type-ahead searches over them, and the reads that fill the buyer boxes.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kuvela {

class Sheet;
class Workbook;

// Column 3 holds a title, or given name "·" surname.
struct NameParts {
    QString aad;    // given name
    QString ssoyad; // surname
    QString uunvan; // title, when there is no "·"
};
NameParts splitBuyerName(const QString& name);

// One customer of the lists (Combo3, List2, List4).
struct CustomerEntry {
    int row = 0;       // mDATA row
    QString name;      // column 3, the display name
    QString taxNumber; // column 7 as stored
};

// List4's text: a number shorter than 11 characters gets a leading blank, then a
// blank and the name (" 0123456789 ABC LTD ŞTİ").
QString numberEntryText(const CustomerEntry& entry);

class CustomerList {
public:
    CustomerList() = default;
    explicit CustomerList(std::vector<CustomerEntry> entries);

    // mDATA from row 2 down to the first row whose column 3 is empty.
    static CustomerList read(Sheet& mDATA);

    const std::vector<CustomerEntry>& entries() const { return entries_; }
    const CustomerEntry& at(int index) const { return entries_.at(size_t(index)); }
    int size() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }

    QStringList names() const;         // Combo3 and List2
    QStringList numberEntries() const; // List4

    // Positions of the names containing `text`, Turkish letter case ignored
    // ("istanbul" finds "İSTANBUL"); an empty text matches all.
    std::vector<int> namesContaining(const QString& text) const;
    // Positions of the List4 entries containing `text`.
    std::vector<int> numbersContaining(const QString& text) const;

private:
    std::vector<CustomerEntry> entries_;
    std::vector<QString> foldedNames_;
    std::vector<QString> numberTexts_;
};

// Text19_Change, the name search over List2.
struct NameSearch {
    bool showFrame14 = false; // show Frame14 and Command23; otherwise leave them as they are
    QString secildi;          // always emptied
    std::vector<int> matches; // List3: the names at these positions, in order
};
NameSearch text19Change(const CustomerList& customers, const QString& text19, const QString& secildi);

// Text20_Change, the tax-number search over List4.
enum class FrameChange { Keep, Show, Hide };
struct NumberSearch {
    // The change came from a pick ("List3", "Form4"): only whoTriggered changes.
    bool skipped = false;
    QString whoTriggered;
    bool clearList3 = false;
    FrameChange frame13 = FrameChange::Keep;
    bool showList5 = false;
    // Text20's text after removing every character but digits and blanks and
    // cutting it to 11; the caret goes to its end.
    QString text;
    std::vector<int> matches; // List5: the List4 entries at these positions, in order
};
NumberSearch text20Change(const CustomerList& customers, const QString& text20, const QString& whoTriggered);

// Only blanks and digits, at most 11 of them.
QString cleanTaxNumberText(const QString& typed);

// A buyer row as the boxes take it.
struct BuyerRecord {
    int row = 0;
    QString name;      // column 3: Combo3, Text19
    NameParts parts;   // aad, ssoyad, uunvan
    QString address;   // column 4: Text2
    QString country;   // column 5: Text12
    QString taxOffice; // column 6: Text3
    QString taxNumber; // column 7: Text4
    QString email;     // column 8: Text5
};

// Combo3_LostFocus: rows from 2 while any of columns 1-3 is filled; the last row
// whose column 3 equals `name` wins. Nothing for an empty name.
std::optional<BuyerRecord> readBuyerByName(Workbook& book, const QString& name);

// List5_DblClick: rows from 2 until column 7 is empty; the first row whose column 7
// equals `taxNumber`. Name parts come from that row's column 3.
std::optional<BuyerRecord> readBuyerByTaxNumber(Workbook& book, const QString& taxNumber);

// What List5_DblClick writes before the read: Combo3/Text19 get the name, Text20
// the number without its leading blank. The read takes the entry's stored number,
// so a number of unusual length cannot shift the name or miss its row.
struct NumberPick {
    QString displayName;
    QString text20;
};
NumberPick list5Pick(const CustomerEntry& entry);

} // namespace kuvela
