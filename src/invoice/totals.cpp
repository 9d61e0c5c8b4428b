#include "invoice/totals.h"

#include "common/regional.h"
#include "invoice/amount_words.h"
#include "invoice/line_figures.h"

namespace kuvela::invoice {

namespace {

enum class Branch { None, Standard, Tevkifat, Istisna, OzelMatrah };

Branch branchFor(InvoiceKind kind)
{
    if (computedAsSale(kind))
        return Branch::Standard;
    switch (kind) {
    case InvoiceKind::Tevkifat: return Branch::Tevkifat;
    case InvoiceKind::Istisna: return Branch::Istisna;
    case InvoiceKind::OzelMatrah: return Branch::OzelMatrah;
    default: return Branch::None;
    }
}

struct BadCell {
    TotalsError error;
};

// Reads and writes the working copy of the lines.
class Cells {
public:
    explicit Cells(const LineGrid& grid) : lines_(grid.rows) {}

    QString text(int line, int column) const
    {
        const QStringList& r = lines_[size_t(line)];
        return column <= r.size() ? r[column - 1] : QString();
    }
    void set(int line, int column, const QString& value)
    {
        QStringList& r = lines_[size_t(line)];
        while (r.size() < column)
            r.append(QString());
        r[column - 1] = value;
    }
    // An empty cell counts as 0; any other text that is no number stops the run.
    Decimal number(int line, int column) const
    {
        const QString t = text(line, column);
        if (t.trimmed().isEmpty())
            return {};
        if (const auto v = regionalConvert(t))
            return *v;
        throw BadCell{{line + 1, column, t}};
    }
    int count() const { return int(lines_.size()); }
    std::vector<QStringList>& lines() { return lines_; }

private:
    std::vector<QStringList> lines_;
};

QString F(const Decimal& x) { return formatAmount(x, 2); }

struct Bases {
    Decimal b1, b8, b10, b18, b20;
    Decimal* forRate(const Decimal& rate)
    {
        if (rate == Decimal(1)) return &b1;
        if (rate == Decimal(8)) return &b8;
        if (rate == Decimal(10)) return &b10;
        if (rate == Decimal(18)) return &b18;
        if (rate == Decimal(20)) return &b20;
        return nullptr;
    }
};

// The three fields of the earlier rates always; 10 and 20 in their place only when
// they carry a base, so an invoice without them reads as it always did.
QString vatBaseNote(const Bases& b)
{
    QString note = QStringLiteral("KDV MATRAH [%1: ") + F(b.b1) + QStringLiteral("][%8: ") + F(b.b8) + u']';
    if (!b.b10.isZero())
        note += QStringLiteral("[%10: ") + F(b.b10) + u']';
    note += QStringLiteral("[%18: ") + F(b.b18) + u']';
    if (!b.b20.isZero())
        note += QStringLiteral("[%20: ") + F(b.b20) + u']';
    return note;
}

} // namespace

QString noteBullet() { return QString(QChar(0x2022)) + u' '; }

QString TotalsError::message(const LineGrid& grid) const
{
    return QStringLiteral("Hatalı veri: Satır %1, %2 sütunu \"%3\" sayısal değil !")
        .arg(line)
        .arg(grid.title(column).isEmpty() ? QString::number(column) : grid.title(column), text);
}

TotalsResult yekunal(const LineGrid& grid, const TotalsSettings& settings)
{
    TotalsResult out;
    const Branch branch = branchFor(settings.kind);

    Cells cells(grid);
    // The portal's arithmetic: every amount rounded once, half away from zero, and the sums
    // kept exact. The grand total is the lines' nets, VAT and taxes, so its figures and its
    // words are the portal's.
    Decimal A, B, K, W, M, G, S, net;
    Bases base, ekmat;
    std::vector<InvoiceTotalsRow> rows;

    try {
        if (branch != Branch::None) {
            const LineColumns& col = lineColumnsOf(settings.kind);
            std::vector<int> pairs;  // rate columns; a rate column without its amount column is left alone
            for (int p = col.firstTax; p + 1 <= grid.columnCount(); p += 2)
                pairs.push_back(p);
            std::vector<Decimal> taxTotals(pairs.size());
            for (int i = 0; i < cells.count(); ++i) {
                LineInput in;
                in.quantity = cells.number(i, col.quantity);
                in.unitPrice = cells.number(i, col.unitPrice);
                in.discount = cells.number(i, col.discount);
                in.vatRate = cells.number(i, col.vatRate);
                for (const int p : pairs) {
                    if (cells.text(i, p).isEmpty())
                        cells.set(i, p, QStringLiteral("0"));
                    in.taxes.push_back({cells.number(i, p), isVatBaseTaxCode(grid.title(p))});
                }
                if (branch == Branch::OzelMatrah)
                    in.specialBase = cells.number(i, col.specialAmount);
                if (branch == Branch::Tevkifat)  // a rate that is no number was warned of when the line was read
                    in.withholdingRate = cellNumber(cells.text(i, col.withholdingRate)).value_or(Decimal());
                if (pairs.empty())
                    in.vat = cells.number(i, col.vat);
                in.exempt = branch == Branch::Istisna;
                const LineFigures f = computeLineFigures(in);
                // The rate base is chosen by the leading number taken to the nearest whole, and the
                // VAT-base taxes' share goes under the same rate.
                const Decimal baseRate = leadingNumber(cells.text(i, col.vatRate)).roundHalfEven(0);

                B += f.amount;
                A += f.discount;
                net += f.net;
                for (size_t k = 0; k < pairs.size(); ++k) {
                    cells.set(i, pairs[k] + 1, F(f.taxes[k]));
                    taxTotals[k] += f.taxes[k];
                    if (in.taxes[k].inVatBase)
                        if (Decimal* share = ekmat.forRate(baseRate))
                            *share += f.taxes[k];
                }
                cells.set(i, col.vat, F(f.vat));
                K += f.vat;
                if (branch == Branch::Tevkifat) {
                    // A cell that already holds the figure keeps its form (the bulk read writes it plain).
                    if (regionalConvert(cells.text(i, col.withheld)) != f.withheld)
                        cells.set(i, col.withheld, F(f.withheld));
                    W += f.withheld;
                }
                Decimal* rateBase = base.forRate(baseRate);
                if (branch == Branch::OzelMatrah) {
                    M += *in.specialBase;
                    if (rateBase)
                        *rateBase += *in.specialBase;
                } else if (branch != Branch::Istisna && rateBase) {
                    *rateBase += f.net;
                }
            }

            rows.push_back({1, QStringLiteral("Mal / Hizmet Bedeli Toplamı :"), F(B)});
            rows.push_back({2, QStringLiteral("İskontolar Toplamı :"), F(A)});
            if (branch == Branch::Istisna)
                rows.push_back({3, QStringLiteral("KDV'den İstisnadır."), QString()});
            else
                rows.push_back({3, QStringLiteral("KDV Toplamı :"), F(K)});
            if (branch == Branch::Tevkifat)
                rows.push_back({4, QStringLiteral("Tevkif Edilen KDV :"), F(W)});
            if (branch == Branch::OzelMatrah)
                rows.push_back({4, QStringLiteral("Özel Matrah Toplamı :"), F(M)});
            for (size_t k = 0; k < pairs.size(); ++k) {
                const QString rateTitle = grid.title(pairs[k]);
                rows.push_back({int(rows.size()) + 1, rateTitle.left(rateTitle.size() - 1) + QStringLiteral(" Toplamı :"),
                                F(taxTotals[k])});
                S += taxTotals[k];
            }
            // Every figure is a sum of kuruş, so goods − discounts + taxes + VAT is the total to the kuruş.
            G = net + S + K;
            rows.push_back({int(rows.size()) + 1, QStringLiteral("GENEL TOPLAM :"), F(G)});
            if (branch == Branch::Tevkifat)
                rows.push_back({int(rows.size()) + 1, QStringLiteral("Ödenecek Tutar :"), F(G - W)});
        }
    } catch (const BadCell& bad) {
        TotalsResult failed;
        failed.lines = grid.rows;
        failed.error = bad.error;
        failed.text6 = settings.userNot1 + settings.userNot2 + settings.userNot3 + QStringLiteral("\r\n");
        return failed;
    }

    // The printed base is the base the VAT was computed on, its VAT-base taxes included.
    if (branch != Branch::Istisna) {
        base.b1 += ekmat.b1;
        base.b8 += ekmat.b8;
        base.b18 += ekmat.b18;
        base.b10 += ekmat.b10;
        base.b20 += ekmat.b20;
    }
    if (turkishUpper(settings.prmMatStr) == QStringLiteral("E"))
        out.kdvMatStr = noteBullet() + vatBaseNote(base);
    if (turkishUpper(settings.prmYazStr) == QStringLiteral("E"))
        out.yazTopStr = noteBullet() + QStringLiteral("Yalnız:") + YAZIYTL(F(G));
    out.checkTotal = branch == Branch::Standard ? formatPlain(G) : F(G);
    out.text6 = settings.userNot1 + settings.userNot2 + settings.userNot3 + out.kdvMatStr + QStringLiteral("\r\n") +
                out.yazTopStr;
    out.lines = std::move(cells.lines());
    out.rows = std::move(rows);
    out.ekmat1 = ekmat.b1;
    out.ekmat8 = ekmat.b8;
    out.ekmat18 = ekmat.b18;
    out.ekmat10 = ekmat.b10;
    out.ekmat20 = ekmat.b20;
    out.grandTotal = G;
    return out;
}

} // namespace kuvela::invoice
