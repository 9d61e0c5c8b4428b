#include "invoice/line_figures.h"

namespace kuvela::invoice {

LineFigures computeLineFigures(const LineInput& in)
{
    const Decimal hundred(100);
    auto cents = [](const Decimal& x) { return x.roundHalfAway(2); };
    LineFigures out;
    const Decimal gross = in.quantity * in.unitPrice;
    out.amount = cents(gross);
    out.discount = cents(in.discountRate ? gross * *in.discountRate / hundred : in.discount);
    out.net = out.amount - out.discount;
    for (const LineTaxRate& tax : in.taxes) {
        const Decimal amount = tax.rate > Decimal() ? cents(out.net * tax.rate / hundred) : Decimal();
        out.taxes.push_back(amount);
        if (tax.inVatBase)
            out.vatBaseTaxes += amount;
    }
    // The VAT is taken once, on the base with the VAT-base taxes inside it.
    if (!in.exempt)
        out.vat = in.vat ? cents(*in.vat)
                         : cents((in.specialBase.value_or(out.net) + out.vatBaseTaxes) * in.vatRate / hundred);
    out.withheld = cents(out.vat * in.withholdingRate / hundred);
    return out;
}

} // namespace kuvela::invoice
