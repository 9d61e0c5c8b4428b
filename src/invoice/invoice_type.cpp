#include "invoice/invoice_type.h"

namespace kuvela::invoice {

QString promptText() { return QStringLiteral("Fatura Türü Seçin"); }
QString lodgingTaxText() { return QStringLiteral("KONAKLAMA VERGİSİ"); }

const std::vector<InvoiceType>& invoiceTypes()
{
    using A = ColumnAlign;
    static const std::vector<InvoiceType> types = {
        {0, QStringLiteral("SATIŞ"), QStringLiteral("SATIS"), {}, 11, kColourBlack},
        {1, QStringLiteral("İADE"), QStringLiteral("IADE"), {}, 11, kColourRed},
        {2, QStringLiteral("TEVKİFAT"), QStringLiteral("TEVKIFAT"),
         {{QStringLiteral("Tevkifat Kodu"), A::Left, 1300},
          {QStringLiteral("Tevkifat Oranı"), A::Centre, 1350},
          {QStringLiteral("Tevkifat Tutarı"), A::Right, 1400}},
         14, kColourBlue},
        {3, QStringLiteral("İSTİSNA"), QStringLiteral("ISTISNA"), {{QStringLiteral("GTİP"), A::Right, 1000}}, 12,
         kColourBlack},
        {4, QStringLiteral("ÖZEL MATRAH"), QStringLiteral("OZELMATRAH"),
         {{QStringLiteral("Özel Matrah Nedeni"), A::Right, 1000}, {QStringLiteral("Özel Matrah Tutarı"), A::Right, 1000}},
         13, kColourBlack},
        {5, QStringLiteral("İHRAÇ KAYITLI"), QStringLiteral("IHRACKAYITLI"), {}, 11, kColourBlack},
    };
    return types;
}

const InvoiceType* invoiceTypeAt(int position)
{
    const auto& types = invoiceTypes();
    if (position < 0 || position >= int(types.size()))
        return nullptr;
    return &types[size_t(position)];
}

const InvoiceType* invoiceTypeByText(const QString& displayText)
{
    for (const auto& t : invoiceTypes())
        if (t.displayText == displayText)
            return &t;
    return nullptr;
}

QString portalValueFor(const QString& displayText)
{
    const InvoiceType* t = invoiceTypeByText(displayText);
    return t ? t->portalValue : QString();
}

const QStringList& vatBaseTaxCodes()
{
    static const QStringList codes = {
        QStringLiteral("V0061"), QStringLiteral("V0071"), QStringLiteral("V9077"), QStringLiteral("V0073"),
        QStringLiteral("V0074"), QStringLiteral("V0075"), QStringLiteral("V0076"), QStringLiteral("V0077"),
        QStringLiteral("V8002"), QStringLiteral("V4071"), QStringLiteral("V8004"), QStringLiteral("V8005"),
        QStringLiteral("V4171"), QStringLiteral("V9944"),
    };
    return codes;
}

bool isVatBaseTaxCode(const QString& rateTitle)
{
    return vatBaseTaxCodes().contains(rateTitle.left(5), Qt::CaseSensitive);
}

} // namespace kuvela::invoice
