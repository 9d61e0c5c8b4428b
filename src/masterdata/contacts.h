#pragma once
// The mail panel's contact list (List6) from the vCard file Data/Kişiler.vcf
// that the user keeps beside the workbook.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

namespace kuvela {

struct Contact {
    QString fullName; // FN, else built from N
    QString email;    // the first EMAIL, may be empty
};

// <program folder>/Data/Kişiler.vcf
std::filesystem::path contactsFile();

// Contacts in file order. Group cards (distribution lists) are skipped. A missing
// or unreadable file gives an empty list.
std::vector<Contact> readContacts(const std::filesystem::path& file);
std::vector<Contact> parseVCards(const QByteArray& utf8);

// List6 entries: e-mail, TAB, full name.
QStringList contactListEntries(const std::vector<Contact>& contacts);

} // namespace kuvela
