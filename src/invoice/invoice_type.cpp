#include "invoice/invoice_type.h"

#include "shell/file_pane_logic.h"

namespace kuvela::invoice {

QString promptText() { return QString::fromUtf16(kNoInvoiceType); }

const std::vector<InvoiceType>& invoiceTypes()
{
    using A = ColumnAlign;
    using K = InvoiceKind;
    static const std::vector<InvoiceType> types = {
        {K::Satis, QStringLiteral("SATIŞ"), QStringLiteral("SATIS"), {}, {}, kColourBlack},
        {K::Iade, QStringLiteral("İADE"), QStringLiteral("IADE"), {}, {}, kColourRed},
        {K::Tevkifat, QStringLiteral("TEVKİFAT"), QStringLiteral("TEVKIFAT"),
         {{QStringLiteral("Tevkifat Kodu"), A::Left, 1300},
          {QStringLiteral("Tevkifat Oranı"), A::Centre, 1350},
          {QStringLiteral("Tevkifat Tutarı"), A::Right, 1400}},
         {.withholdingCode = 11, .withholdingRate = 12, .withheld = 13, .firstTax = 14}, kColourBlue},
        {K::Istisna, QStringLiteral("İSTİSNA"), QStringLiteral("ISTISNA"), {{QStringLiteral("GTİP"), A::Right, 1000}},
         {.gtip = 11, .firstTax = 12}, kColourBlack},
        {K::OzelMatrah, QStringLiteral("ÖZEL MATRAH"), QStringLiteral("OZELMATRAH"),
         {{QStringLiteral("Özel Matrah Nedeni"), A::Right, 1000}, {QStringLiteral("Özel Matrah Tutarı"), A::Right, 1000}},
         {.specialReason = 11, .specialAmount = 12, .firstTax = 13}, kColourBlack},
        {K::IhracKayitli, QStringLiteral("İHRAÇ KAYITLI"), QStringLiteral("IHRACKAYITLI"), {}, {}, kColourBlack},
        {K::KonaklamaVergisi, QStringLiteral("KONAKLAMA VERGİSİ"), {}, {}, {}, kColourBlack},
    };
    return types;
}

InvoiceKind invoiceKindAt(int position)
{
    const auto& types = invoiceTypes();
    if (position < 0 || position >= int(types.size()) || !invoiceTypeOf(types[size_t(position)].kind))
        return InvoiceKind::None;
    return types[size_t(position)].kind;
}

InvoiceKind invoiceKindByText(const QString& displayText)
{
    for (const auto& t : invoiceTypes())
        if (t.displayText == displayText)
            return t.kind;
    return InvoiceKind::None;
}

const InvoiceType* invoiceTypeOf(InvoiceKind kind)
{
    if (kind == InvoiceKind::KonaklamaVergisi)
        return nullptr;
    for (const auto& t : invoiceTypes())
        if (t.kind == kind)
            return &t;
    return nullptr;
}

QString portalValueOf(InvoiceKind kind)
{
    const InvoiceType* t = invoiceTypeOf(kind);
    return t ? t->portalValue : QString();
}

const LineColumns& lineColumnsOf(InvoiceKind kind)
{
    static const LineColumns base;
    const InvoiceType* t = invoiceTypeOf(kind);
    return t ? t->columns : base;
}

bool computedAsSale(InvoiceKind kind)
{
    return kind == InvoiceKind::Satis || kind == InvoiceKind::Iade || kind == InvoiceKind::IhracKayitli;
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
