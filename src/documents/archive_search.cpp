#include "documents/archive_search.h"

#include "archive/invoice_file_name.h"
#include "common/regional.h"

namespace kuvela {

namespace {
bool containsFolded(const QString& field, const QString& wanted)
{
    return turkishUpper(field).contains(turkishUpper(wanted));
}
} // namespace

QString wantedPeriod(const ArchiveSearchFilter& filter)
{
    const QString period = filter.month + u'-' + filter.year;
    return period == u"-" ? QString() : period;
}

bool archiveNameListed(const QString& rawName, const ArchiveSearchFilter& filter)
{
    const QString name = rawName.normalized(QString::NormalizationForm_C);
    const QString period = wantedPeriod(filter);

    // A number typed from its first character ("GIB2023...") is found too.
    // Positions count characters as the filing wrote them, an emoji of a title as one.
    const bool numberMatch = containsFolded(characterField(name, 0, 16), filter.number);
    const bool taxMatch = containsFolded(characterField(name, 28), filter.taxNumber);
    const bool periodMatch = containsFolded(characterField(name, 20, 7), period);
    const bool titleMatch = containsFolded(characterField(name, 40, 20), filter.title);

    if (!filter.title.isEmpty() && titleMatch)
        return true;
    if (!period.isEmpty() && !filter.taxNumber.isEmpty())
        return periodMatch && taxMatch;
    return (!filter.number.isEmpty() && numberMatch) || (!filter.taxNumber.isEmpty() && taxMatch)
        || (!period.isEmpty() && periodMatch);
}

ArchiveSearchResult searchArchive(const QStringList& file1Names, const ArchiveSearchFilter& filter)
{
    ArchiveSearchResult result;
    for (const QString& name : file1Names)
        if (archiveNameListed(name, filter))
            result.found << name;
    result.countLabel = QStringLiteral("Toplam ") + QString::number(file1Names.size()) + QStringLiteral(" Listelenen ")
        + QString::number(result.found.size());
    result.showCheck2 = !result.found.isEmpty();
    return result;
}

QString clearedArchiveCountLabel()
{
    return QStringLiteral("Listelenen ") + QStringLiteral("0");
}

} // namespace kuvela
