#include "invoice/line_grid.h"

namespace kuvela::invoice {

using A = ColumnAlign;

const std::vector<GridColumn>& baseColumns()
{
    static const std::vector<GridColumn> cols = {
        {QStringLiteral("s"), A::Left, 300},
        {QStringLiteral("Mal Hizmet Türü"), A::Left, 4200},
        {QStringLiteral("Miktar"), A::Right, 900},
        {QStringLiteral("Birim"), A::Centre, 900},
        {QStringLiteral("Birim Fiyat"), A::Right, 1200},
        {QStringLiteral("İsk%"), A::Centre, 650},
        {QStringLiteral("İsk.Tutarı"), A::Right, 1200},
        {QStringLiteral("Mal/Hiz.Tutarı"), A::Right, 1200},
        {QStringLiteral("KDV%"), A::Centre, 700},
        {QStringLiteral("KDV Tutarı"), A::Right, 1100},
    };
    return cols;
}

TaxColumnPair TaxColumnPair::forItem(const QString& item)
{
    // The amount title drops the code and dash in front and the percent sign behind.
    QString name = item.mid(6);
    if (item.endsWith(u'%') && !name.isEmpty())
        name.chop(1);
    return {{item, A::Centre, 1300}, {name + QStringLiteral(" Tutarı"), A::Right, 900}};
}

QString extraTaxItem(const QString& code, const QString& name)
{
    return code + u'-' + name + u'%';
}

QString LineGrid::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 1)
        return {};
    const QStringList& r = rows[size_t(row)];
    return column <= r.size() ? r[column - 1] : QString();
}

void LineGrid::setCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 1)
        return;
    QStringList& r = rows[size_t(row)];
    while (r.size() < column)
        r.append(QString());
    r[column - 1] = text;
}

QString LineGrid::title(int column) const
{
    return column >= 1 && column <= columnCount() ? columns[size_t(column - 1)].title : QString();
}

int LineGrid::findColumn(const QString& t) const
{
    for (int c = 1; c <= columnCount(); ++c)
        if (columns[size_t(c - 1)].title == t)
            return c;
    return 0;
}

void LineGrid::temelfatura()
{
    columns = baseColumns();
    textColour = kColourBlack;
}

void LineGrid::layoutForType(InvoiceKind kind)
{
    const InvoiceType* type = invoiceTypeOf(kind);
    if (!type)
        return;
    temelfatura();
    columns.insert(columns.end(), type->typeColumns.begin(), type->typeColumns.end());
    textColour = type->gridColour;
}

void LineGrid::deleteRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    rows.erase(rows.begin() + row);
    for (int i = 0; i < rowCount(); ++i) {
        QStringList& r = rows[size_t(i)];
        while (r.size() > columnCount())
            r.removeLast();
        setCell(i, 1, QString::number(i + 1));
    }
}

void LineGrid::addTaxPair(const TaxColumnPair& pair)
{
    columns.push_back(pair.rate);
    columns.push_back(pair.amount);
}

bool LineGrid::hasTaxPair(const QString& rateTitle) const
{
    for (int c = 9; c <= columnCount() - 1; ++c)
        if (title(c) == rateTitle)
            return true;
    return false;
}

namespace {
// Width and alignment a column gets by its position when the header row is rebuilt.
GridColumn rebuiltFormat(int position, const QString& title)
{
    static const int widths[] = {290, 4200, 900, 900, 1100, 650, 1100, 1200, 700, 1100, 1300, 1350, 1400};
    static const A aligns[] = {A::Left, A::Left, A::Right, A::Centre, A::Right, A::Centre, A::Right,
                               A::Right, A::Centre, A::Right, A::Right, A::Right, A::Right};
    if (position <= 13)
        return {title, aligns[position - 1], widths[position - 1]};
    return {title, A::Right, 1300};
}
} // namespace

bool LineGrid::removeTaxPair(const QString& rateTitle)
{
    int p = 0;
    for (int c = int(baseColumns().size()) + 1; c <= columnCount() && !p; ++c)
        if (title(c) == rateTitle)
            p = c;
    if (!p)
        return false;
    // By position: the amount column is the one after the rate column.
    const int count = p < columnCount() ? 2 : 1;
    columns.erase(columns.begin() + (p - 1), columns.begin() + (p - 1 + count));
    for (QStringList& r : rows) {
        for (int k = 0; k < count && p - 1 < r.size(); ++k)
            r.removeAt(p - 1);
    }
    for (int c = 1; c <= columnCount(); ++c)
        columns[size_t(c - 1)] = rebuiltFormat(c, columns[size_t(c - 1)].title);
    return true;
}

std::vector<int> LineGrid::taxRateColumnsFor(const QString& item) const
{
    std::vector<int> found;
    if (const int exact = findColumn(item))
        return {exact};
    const QString key = item.left(9);
    for (int c = 1; c <= columnCount(); ++c)
        if (title(c).left(9) == key)
            found.push_back(c);
    return found;
}

} // namespace kuvela::invoice
