#pragma once
// The return-references dialog (Form2) as plain rules: its date lists, the serial
// filter, and the list aList1 of ReturnReference texts, serial & "---" & dd/mm/yyyy.
// The window reads its combos and boxes, calls these and writes the results back.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kuvela::invoice {

// "01".."12".
QStringList monthList();
// The month's day count by the calendar; 0 for a month text other than "01".."12".
int daysInMonth(const QString& month, const QString& year);
// Combo3's list: "01".. up to the day count; empty for an unknown month.
QStringList dayList(const QString& month, const QString& year);

// Form_Load's date pickers. Panel 2 shows "Önce tarih seçiniz...".
struct DatePickers {
    QStringList years;   // Combo1: the year of `today` and the four before it, oldest first
    QString year;        // Combo1 shown: today's year
    QStringList months;  // Combo2
    QString month;       // Combo2 shown: today's month, two digits
    QStringList days;    // Combo3, no day chosen
    QString panel2;
};
DatePickers formLoad(const QDate& today);

// Combo1 changed. The day list is refilled for the new year; a chosen day that the
// new list still holds stays chosen, one it does not (29 in a common February) is
// dropped, as a refill of the month leaves no day chosen.
struct YearChange {
    QStringList days;
    QString day; // empty: no day chosen
};
YearChange yearChange(const QString& month, const QString& newYear, const QString& chosenDay);

// Label1_Click: "GIB" & year & "000000000".
QString serialTemplate(const QString& year);

// Text1_Change. The window sets the text without running this again (it would
// empty panel 2 and lose the message).
struct SerialChange {
    QString text;   // only "/", digits and A-Z/a-z; caret to the end
    QString panel2; // the message, or empty
    bool ekleEnabled = true;
};
SerialChange text1Change(const QString& typed);

// Serials hold only A-Z and digits, so they are put in capitals letter by letter:
// "gib" becomes "GIB", never the dotted "GİB" of the Turkish rule.
QString serialUpper(const QString& serial);

// One Ekle, Çıkar or Tamam.
struct ReferenceResult {
    bool changed = false;  // an entry was added or removed
    QString panel2;        // the message; "Eklenen : n" after a change
    QString label20;       // Form1.Label20, set when not empty
    QString text100;       // Form1.Text100: the serial added
    QString text200;       // Form1.Text200: the date added
    bool clearText1 = false;
    bool clearText2 = false;
    QString text2;         // Text2 = the date of the entry, set before the duplicate test
    bool tamamEnabled = false;
};

// aList1 and its rules.
class ReturnReferences {
public:
    const QStringList& aList1() const { return entries_; }
    int count() const { return int(entries_.size()); }

    // Command1_Click "Ekle" with the serial (Text1) and the combos' texts. An empty
    // month, day or serial, or a date the calendar does not have, adds nothing.
    ReferenceResult add(const QString& serial, const QString& day, const QString& month, const QString& year);
    // aList1_Click: the serial of the entry at `index` (0-based), for Text1.
    QString serialOf(int index) const;
    // Command2_Click "Çıkar": removes the entry at `index` (0-based).
    ReferenceResult remove(int index);
    // Command3_Click "Tamam": the dialog hides with its list.
    ReferenceResult tamam() const;
    // Form_Unload and the company load: the list is gone, Label20 "0".
    ReferenceResult clear();

private:
    ReferenceResult counted(bool changed) const;
    QStringList entries_;
};

// A ReturnReference's two parts, for the upload.
QString referenceSerial(const QString& entry);
QString referenceDate(const QString& entry);

} // namespace kuvela::invoice
