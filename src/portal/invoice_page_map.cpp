#include "portal/invoice_page_map.h"

#include "invoice/invoice_type.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace kuvela::portal {

namespace {

const QString kGen = QStringLiteral("gen__");
const QChar kMiddleDot(0x00B7);

} // namespace

QString PageMap::gen(int off) const { return kGen + QString::number(N + off); }

QString PageMap::dateGen(int off) const { return QStringLiteral("date-") + gen(off); }

QString PageMap::lineTable() const { return gen(offset::LineTable) + QStringLiteral("-b"); }

QString PageMap::returnNumber(int j) const { return gen(offset::FirstFreeNumber + 2 * j); }

QString PageMap::returnDate(int j) const { return dateGen(offset::FirstFreeNumber + 2 * j + 1); }

std::optional<long long> genNumber(const QString& id)
{
    const qsizetype at = id.indexOf(kGen);
    if (at < 0)
        return std::nullopt;
    qsizetype end = at + kGen.size();
    const qsizetype start = end;
    while (end < id.size() && id[end].isDigit() && id[end].unicode() < 128)
        ++end;
    // More digits than a page could ever count to are no id of the page.
    if (end == start || end - start > 15)
        return std::nullopt;
    return id.mid(start, end - start).toLongLong();
}

std::optional<int> baseIdOf(const QString& containerId)
{
    const std::optional<long long> n = genNumber(containerId);
    if (!n || *n <= 0 || *n > std::numeric_limits<int>::max() - 1000)
        return std::nullopt;
    return int(*n);
}

int baseIdOr1026(const std::optional<QString>& containerId)
{
    return containerId ? baseIdOf(*containerId).value_or(kFreshPageBase) : kFreshPageBase;
}

BuyerNames splitBuyerName(const QString& text19, const QString& text20)
{
    const QString name = text19.trimmed();
    if (text20.size() < 11)
        return {name, {}, {}};
    for (qsizetype p = name.size() - 1; p >= 0; --p) {
        if (name[p] == u' ' || name[p] == kMiddleDot)
            return {{}, name.left(p).trimmed(), name.mid(p + 1)};
    }
    return {{}, name, {}};
}

QString portalDate(const QDate& date) { return date.toString(QStringLiteral("dd'/'MM'/'yyyy")); }

QStringList extraTaxCodes(const invoice::LineGrid& grid)
{
    static const QRegularExpression code(QStringLiteral("^V[0-9]{4}"));
    QStringList codes;
    for (int c = 10; c <= grid.columnCount(); ++c) {
        const QString title = grid.title(c);
        if (code.match(title).hasMatch())
            codes << title.left(5);
    }
    return codes;
}

CellKind cellKind(const LineElement& e)
{
    if (e.tag.compare(QLatin1String("span"), Qt::CaseInsensitive) == 0)
        return e.cls.contains(QLatin1String("rospan")) ? CellKind::ReadOnly : CellKind::Other;
    const QString type = e.type.toLower();
    if (type == QLatin1String("button"))
        return CellKind::Button;
    if (type == QLatin1String("text"))
        return CellKind::Input;
    if (type.startsWith(QLatin1String("select")))
        return CellKind::Select;
    return CellKind::Other;
}

std::vector<LineElement> sortedLineElements(std::vector<LineElement> elements)
{
    std::vector<std::pair<long long, LineElement>> numbered;
    for (LineElement& e : elements) {
        if (!e.id.startsWith(QLatin1String("gen")))
            continue;
        if (const auto n = genNumber(e.id))
            numbered.emplace_back(*n, std::move(e));
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LineElement> sorted;
    sorted.reserve(numbered.size());
    for (auto& [n, e] : numbered)
        sorted.push_back(std::move(e));
    return sorted;
}

std::vector<WalkAction> planLineWalk(const std::vector<LineElement>& sorted, const invoice::LineGrid& grid,
                                     invoice::InvoiceKind type)
{
    using K = WalkAction::Kind;
    using invoice::cellIndex;
    const invoice::LineColumns& col = invoice::lineColumnsOf(type);
    const int lastColumn = grid.columnCount() - 1;  // 0-based, "s" being column 0
    const size_t count = sorted.size();
    std::vector<WalkAction> plan;
    size_t k = 0;
    CellKind kind = CellKind::Other;  // carried from element to element, never reset

    for (int r = 0; r < grid.rowCount() && k < count; ++r) {
        const int line = r + 1;
        auto add = [&](K what, const QString& id, const QString& text, int ms, int column) {
            plan.push_back({what, id, text, ms, line, column});
        };
        auto cell = [&](int column) { return grid.cell(r, column + 1); };
        int c = 1;
        while (c <= lastColumn && k < count) {
            const LineElement& e = sorted[k];
            const CellKind own = cellKind(e);
            if (own == CellKind::Button) {
                ++k;
                continue;
            }
            if (own == CellKind::ReadOnly) {
                ++k;
                ++c;
                continue;
            }
            if (own == CellKind::Input || own == CellKind::Select)
                kind = own;
            if (kind == CellKind::Input) {
                add(K::Click, e.id, {}, 0, c);
                // The discount amount is the page's own figure: clicked, never typed.
                if (c != cellIndex(col.discount)) {
                    add(K::Type, e.id, cell(c), 0, c);
                    add(K::Wait, {}, {}, 1, c);
                }
            } else if (kind == CellKind::Select) {
                add(K::Wait, {}, {}, 1, c);
                // A list past the VAT rate's is the type's own.
                if (c > cellIndex(col.vatRate) && type == invoice::InvoiceKind::Tevkifat) {
                    const QString code = cell(cellIndex(col.withholdingCode)).left(3);
                    add(K::SelectValue, e.id, code, 0, c);
                    static const QRegularExpression full(QStringLiteral("^8[0-9]{2}$"));
                    if (full.match(code).hasMatch()) {
                        add(K::Wait, {}, {}, 2, c);
                        add(K::ClickConfirm, {}, {}, 0, c);
                    } else {
                        add(K::Wait, {}, {}, 3, c);
                    }
                    add(K::Tab, {}, {}, 0, c);
                } else if (c > cellIndex(col.vatRate) && type == invoice::InvoiceKind::OzelMatrah) {
                    add(K::SelectValue, e.id, cell(cellIndex(col.specialReason)).left(3), 0, c);
                    add(K::Wait, {}, {}, 1, c);
                    add(K::ClickConfirm, {}, {}, 0, c);
                    add(K::Click, e.id, {}, 0, c);
                    add(K::Type, e.id, cell(cellIndex(col.specialAmount)), 0, c);
                    add(K::Wait, {}, {}, 1, c);
                    add(K::Tab, {}, {}, 0, c);
                } else {
                    add(K::SelectText, e.id, cell(c), 0, c);
                }
            }
            ++c;
            ++k;
        }
        ++k;  // the element after the line's cells (its delete button)
    }
    return plan;
}

int extraAddLineClicks(int lines) { return lines + 2; }

QString describe(const WalkAction& a)
{
    using K = WalkAction::Kind;
    const QString where = QStringLiteral(" (satır %1, sütun %2)").arg(a.line).arg(a.column);
    switch (a.kind) {
    case K::Click:
        return QStringLiteral("tıklama ") + a.id + where;
    case K::Type:
        return QStringLiteral("yazma ") + a.id + where;
    case K::SelectText:
        return QStringLiteral("seçim (metin) ") + a.id + QStringLiteral(": ") + a.text + where;
    case K::SelectValue:
        return QStringLiteral("seçim (değer) ") + a.id + QStringLiteral(": ") + a.text + where;
    case K::ClickConfirm:
        return QStringLiteral("açılır pencere onayı") + where;
    case K::Tab:
        return QStringLiteral("Tab") + where;
    case K::Wait:
        break;
    }
    return QStringLiteral("bekleme") + where;
}

} // namespace kuvela::portal
