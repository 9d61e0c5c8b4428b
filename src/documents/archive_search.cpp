#include "documents/archive_search.h"

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
    const bool numberMatch = containsFolded(name.mid(0, 16), filter.number);
    const bool taxMatch = containsFolded(name.mid(28), filter.taxNumber);
    const bool periodMatch = containsFolded(name.mid(20, 7), period);
    const bool titleMatch = containsFolded(name.mid(40, 20), filter.title);

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
