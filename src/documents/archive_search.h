#pragma once
// "BUL" over the names listed in File1: fields at the fixed positions of the
// invoice file name, compared with Turkish letter case ignored.
#include <QString>
#include <QStringList>

namespace kuvela {

struct ArchiveSearchFilter {
    QString number;    // Text23
    QString taxNumber; // Text24
    QString title;     // Text27
    QString month;     // Combo7 text
    QString year;      // Combo8 text
};

struct ArchiveSearchResult {
    QStringList found;  // List7, in File1's order
    QString countLabel; // Label32
    bool showCheck2 = false;
};

// "month-year", or empty when both are empty.
QString wantedPeriod(const ArchiveSearchFilter& filter);

bool archiveNameListed(const QString& name, const ArchiveSearchFilter& filter);
ArchiveSearchResult searchArchive(const QStringList& file1Names, const ArchiveSearchFilter& filter);

// Label32 after "---".
QString clearedArchiveCountLabel();

} // namespace kuvela
