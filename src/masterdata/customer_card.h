#pragma once
// The customer card (Form4) as plain rules: the two field sets, the number filter,
// the checks before saving, the mDATA row and its append, and what "KAYDET ve Seç"
// hands to the main window's buyer boxes. The window reads its controls into
// CustomerCardFields, calls these functions and writes the results back.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace kuvela {

class Sheet;

// Frame2's two options.
enum class CustomerKind {
    None,  // neither option selected (after Form_Load)
    Kurum, // Option1 "KURUM": a 10-digit tax number
    Sahis, // Option2 "ŞAHIS": an 11-digit identity number
};

// The card's boxes as typed.
struct CustomerCardFields {
    QString title;      // Text1 "ÜNVANI"
    QString givenName;  // Text2 "ADI"
    QString surname;    // Text3 "SOYADI"
    QString address;    // Text4 "ADRESİ"
    QString country;    // Combo1 "ÜLKE"
    QString taxOffice;  // Text5 "VERGİ DAİRESİ"
    QString taxNumber;  // Text6 "VK No" / "TCK No"
    QString email;      // Text7 "E-POSTA"
    QString phone;      // Text8 "TELEFON"
    QString fax;        // Text9 "FAKS"
    QString contact;    // Text10 "YETKİLİ  KİŞİ"
    QString accountCode; // Text11 "MUH. HESAP KODU"
};

// Option1_Click / Option2_Click. Text6 is emptied first (run text6Change on "" after
// it, as the box's change handler would), then this layout applies; every other box
// keeps its text.
struct KindLayout {
    QString label1;        // Label1 caption
    QString label2;        // Label2 caption
    QString label3;        // Label3 caption
    QString label6;        // Label6 caption
    int text6MaxLength = 0;
    bool showTitle = false; // Text1 visible
    bool showNames = false; // Text2 and Text3 visible
    // Then: Frame1 enabled, Command1 and Command4 enabled (Command3/Command5 stay
    // disabled from the emptied Text6).
};
KindLayout kindLayout(CustomerKind kind);

// Text6_Change.
struct NumberChange {
    QString text;                  // Text6's new text; caret to its end
    std::optional<QString> panel2; // nullopt: leave panel 2 as it is
    bool buttonsEnabled = false;   // Command1, Command3, Command4 and Command5 together
};
NumberChange text6Change(const QString& text, CustomerKind kind);

// Change handlers of Text1 to Text5: a title and a person's name exclude each other.
enum class CardBox { Text1, Text2, Text3, Text4, Text5 };
struct BoxChange {
    bool clearPanel2 = true;
    bool clearNames = false; // empty Text2 and Text3
    bool clearTitle = false; // empty Text1
};
BoxChange boxChange(CardBox box);

// The checks of "KAYDET ve Yeni" and "KAYDET ve Seç" in their order; the first
// failing one's message for panel 2, nothing when all pass. Both buttons require the
// number: a row saved without one would be overwritten by the next save.
std::optional<QString> checkCard(const CustomerCardFields& card);

// Column 3: the title, else given name "·" surname.
QString customerName(const CustomerCardFields& card);
// Columns 3 to 12 in order; column 7 is "'" & digits so the cell keeps its leading zeros.
QStringList customerRow(const CustomerCardFields& card);

// Column 7 reduced to the digits it names: a leading "'" and blanks dropped; a cell
// stored as a number loses its leading zeros in the sheet, so it is padded back to ten.
QString storedTaxNumber(Sheet& mDATA, int row);
// The first row from 2 with the number `digits` in column 7, scanning every used row
// (a customer without a number does not end the scan); 0 when none.
int findTaxNumberRow(Sheet& mDATA, const QString& digits);
// The first row from 2 with none of columns 1 to 12 filled.
int firstFreeCustomerRow(Sheet& mDATA);

// What Command1_Click ends with.
struct SaveOutcome {
    enum class Result { Refused, Saved, Duplicate, Failed };
    Result result = Result::Refused;
    QString panel2;  // the check, "Kaydedildi....", the duplicate or the workbook message
    int row = 0;     // the mDATA row written (Saved) or already holding the number (Duplicate)
    // Saved: the main window's hidden name parts take these.
    QString aad, ssoyad, uunvan;
    // Saved ends with Form_Load (reset the card), its message shown after it; after
    // Refused, Duplicate and Failed the card keeps its entries and panel 2 the message.
    bool resetCard() const { return result == Result::Saved; }
};

// "KAYDET ve Yeni" after its checks: appends the customer to mDATA of `dataXlsx`
// and saves in one atomic replace. A duplicate number writes nothing; a workbook that
// cannot be opened or saved (open in a spreadsheet program, missing, no mDATA) is
// reported with its Turkish message and left as it was.
SaveOutcome saveCustomer(const std::filesystem::path& dataXlsx, const CustomerCardFields& card);

// What "KAYDET ve Seç" writes into the main window, in this order: whoTriggered,
// then (when the checks pass) the save, and only after a saved row List3/Frame14/
// Command23 hidden, secildi, the card hidden, Combo3, Text19, Text2, Text3, Text4,
// Text20, Text5, Text12. A refused save leaves the buyer as it was.
struct HandOver {
    QString combo3;  // Combo3 text: title & name & " " & surname
    QString text19;  // the same
    QString text2;   // address
    QString text3;   // tax office
    QString text4;   // buyer number
    QString text20;  // number search box
    QString text5;   // e-mail
    QString text12;  // country
};
inline const QString kWhoTriggeredCard = QStringLiteral("Form4");
inline const QString kSecildi = QStringLiteral("Evet");

struct Command4Result {
    QString whoTriggered = kWhoTriggeredCard; // set even when a check fails
    std::optional<QString> failedCheck;       // panel 2; nothing else happens
    // The save after the checks; a duplicate or a failed save keeps the card shown,
    // as typed, with its message.
    SaveOutcome save;
    std::optional<HandOver> handOver;         // only when the customer was saved
};
HandOver handOver(const CustomerCardFields& card);
Command4Result handOverAndSave(const std::filesystem::path& dataXlsx, const CustomerCardFields& card);

} // namespace kuvela
