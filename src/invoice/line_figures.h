#pragma once
// A line's figures as the portal computes them, for every road that writes or totals
// a line: the line dialog, the template import, the bulk read and yekunal. Each figure is
// rounded once to kuruş, a half away from zero.
#include "common/decimal.h"

#include <optional>
#include <vector>

namespace kuvela::invoice {

struct LineTaxRate {
    Decimal rate;            // percent of the net
    bool inVatBase = false;  // the tax's amount is part of the VAT base
};

struct LineInput {
    Decimal quantity;
    Decimal unitPrice;                    // as the line shows it
    std::optional<Decimal> discountRate;  // percent of quantity × price; without it `discount` is taken
    Decimal discount;
    Decimal vatRate;
    std::vector<LineTaxRate> taxes;
    std::optional<Decimal> specialBase;  // the VAT is computed on it instead of the net
    Decimal withholdingRate;             // percent of the VAT
    std::optional<Decimal> vat;          // a VAT the line already holds, taken as it is
    bool exempt = false;                 // an exempt invoice's line holds no VAT at all
};

struct LineFigures {
    Decimal amount;  // quantity × price; the goods total is the sum of these
    Decimal discount;
    Decimal net;  // amount − discount
    std::vector<Decimal> taxes;
    Decimal vatBaseTaxes;  // the taxes' share of the VAT base
    Decimal vat;
    Decimal withheld;
};

LineFigures computeLineFigures(const LineInput& line);

} // namespace kuvela::invoice
