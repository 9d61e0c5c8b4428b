#pragma once
// The company load: the chosen company's column of prgDATA and the customer
// lists of mDATA, read from an open DATA.xlsx. The workbook is only read.
#include "masterdata/buyers.h"

#include <QString>

namespace kuvela {

class Workbook;
class Sheet;

// What one company column of prgDATA gives the main window.
struct CompanySettings {
    QString title;             // row 3  -> Label22
    QString taxNumber;         // row 7  -> firmaVKN
    QString portalUser;        // row 8  -> user
    QString portalPass;        // row 9  -> pass
    QString ledgerLetter;      // row 10 -> firmaMukellefiyet
    QString mailUser;          // row 13 -> yandexUser
    QString mailPass;          // row 14 -> yandexPass
    QString note1, note2, note3; // rows 16-18, bulleted -> userNot1..userNot3
    QString vatBaseFlag;       // row 21 -> prmMatStr
    QString amountInWordsFlag; // row 22 -> prmYazStr

    // Text6: the three note lines one after the other.
    QString noteText() const { return note1 + note2 + note3; }
};

// A note line as the invoice note takes it: "• " + line + CR LF, or empty.
QString decorateNote(const QString& line);

// prgDATA row 2 from column B: the first column holding exactly `company`, or 0.
// The scan ends at the first empty cell.
int findCompanyColumn(Sheet& prgDATA, const QString& company);

struct CompanyLoad {
    bool found = false;
    int column = 0;            // prgDATA column, 0 when not found
    CompanySettings settings;  // all empty when not found: the caller clears every company value
    QString smmmID, smmmPW;    // B23, B24: the office's, read for every company
    CustomerList customers;    // Combo3/List2 names, List4 entries
    QString message;           // for panel 7 when the company was not found
};

// Combo4_LostFocus after the folder test. Throws WorkbookError when a sheet is missing.
CompanyLoad loadCompany(Workbook& book, const QString& company);

} // namespace kuvela
