#include "common/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace kuvela {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr i128 kMax = std::numeric_limits<i128>::max();

// The range is kept symmetric (the most negative raw value is left out), so a sign
// change can never wrap.
[[noreturn]] void outOfRange()
{
    throw std::overflow_error("Sayı hesap sınırının dışında");
}

i128 add(i128 a, i128 b)
{
    i128 r;
    if (__builtin_add_overflow(a, b, &r) || r < -kMax)
        outOfRange();
    return r;
}

i128 mul(i128 a, i128 b)
{
    i128 r;
    if (__builtin_mul_overflow(a, b, &r) || r < -kMax)
        outOfRange();
    return r;
}

i128 neg(i128 a)
{
    if (a < -kMax)
        outOfRange();
    return -a;
}

constexpr i128 pow10(int n)
{
    i128 r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

constexpr i128 kOne = pow10(Decimal::kScale);

enum class Half { Even, Away, Down };

// Divides a by b (b > 0) rounding the quotient to an integer.
i128 divRound(i128 a, i128 b, Half mode)
{
    const bool negative = a < 0;
    const i128 m = negative ? neg(a) : a;
    i128 q = m / b;
    const i128 r = m % b;
    if (mode != Half::Down && r != 0) {
        const i128 rest = b - r;  // r > rest: more than a half
        if (r > rest || (r == rest && (mode == Half::Away || (q % 2) != 0)))
            ++q;
    }
    return negative ? -q : q;
}

Decimal roundTo(const Decimal& d, int decimals, Half mode)
{
    if (decimals >= Decimal::kScale)
        return d;
    if (decimals < 0)
        decimals = 0;
    const i128 unit = pow10(Decimal::kScale - decimals);
    return Decimal::fromRaw(mul(divRound(d.raw(), unit, mode), unit));
}

std::string digitsOf(i128 v)
{
    if (v == 0)
        return "0";
    std::string s;
    while (v > 0) {
        s.insert(s.begin(), char('0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

} // namespace

Decimal::Decimal(long long whole) : v_(static_cast<i128>(whole) * kOne) {}

std::optional<Decimal> Decimal::parse(std::string_view s)
{
    size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        neg = s[i] == '-';
        ++i;
    }
    // The value is digits x 10^shift units; leading zeros carry nothing, so any number
    // of them is read. An exponent is capped far beyond any text's length, so no count wraps.
    constexpr long long kFar = 1'000'000'000'000'000;
    std::string digits;
    long long shift = kScale;
    bool any = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        any = true;
        if (!digits.empty() || s[i] != '0')
            digits += s[i];
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            any = true;
            if (!digits.empty() || s[i] != '0')
                digits += s[i];
            --shift;
        }
    }
    if (any && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNeg = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            expNeg = s[i++] == '-';
        long long exp = 0;
        const size_t first = i;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
            exp = std::min(exp * 10 + (s[i] - '0'), kFar);
        if (i == first)
            return std::nullopt;
        shift += expNeg ? -exp : exp;
    }
    if (!any || i != s.size())
        return std::nullopt;
    // Digits below the last place are dropped; the first of them decides, a half going up.
    const long long n = static_cast<long long>(digits.size());
    const long long kept = std::clamp(n + shift, 0LL, n);
    const bool roundUp = n + shift >= 0 && kept < n && digits[size_t(kept)] >= '5';
    i128 v = 0;
    if (!digits.empty()) {
        for (long long k = 0; k < kept; ++k)
            if (__builtin_mul_overflow(v, 10, &v) || __builtin_add_overflow(v, digits[size_t(k)] - '0', &v))
                return std::nullopt;
        // v is at least 1 here, so a shift past the range overflows within 39 steps.
        for (long long k = 0; k < shift; ++k)
            if (__builtin_mul_overflow(v, 10, &v))
                return std::nullopt;
        if (roundUp && __builtin_add_overflow(v, 1, &v))
            return std::nullopt;
    }
    Decimal d;
    d.v_ = neg ? -v : v;
    return d;
}

std::optional<Decimal> Decimal::tryFromDouble(double d)
{
    if (!std::isfinite(d))
        return std::nullopt;
    char buf[64];
    // At most 15 significant digits, as "%.15g" in the C locale: what a spreadsheet shows.
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    return parse(std::string_view(buf, size_t(r.ptr - buf)));
}

Decimal Decimal::fromDouble(double d)
{
    if (const auto v = tryFromDouble(d))
        return *v;
    outOfRange();
}

Decimal Decimal::operator+(const Decimal& o) const { return fromRaw(add(v_, o.v_)); }
Decimal Decimal::operator-(const Decimal& o) const { return fromRaw(add(v_, neg(o.v_))); }
Decimal Decimal::operator-() const { return fromRaw(neg(v_)); }

Decimal Decimal::operator*(const Decimal& o) const
{
    // Split to stay inside 128 bits: whole and fraction parts multiplied apart.
    const i128 aw = v_ / kOne, af = v_ % kOne;
    const i128 bw = o.v_ / kOne, bf = o.v_ % kOne;
    // |aw * bf| and |af * bw| stay below the range by construction; the rest is checked.
    // Every part has the product's sign, so the fractions' product only adds its digits
    // below the last place, and a tie there goes to the even last place of the whole.
    const i128 low = af * bf;
    i128 q = add(add(add(mul(mul(aw, bw), kOne), aw * bf), af * bw), low / kOne);
    const i128 r = low % kOne < 0 ? -(low % kOne) : low % kOne;
    if (r > kOne - r || (r == kOne - r && q % 2 != 0))
        q = add(q, low < 0 ? -1 : 1);
    return fromRaw(q);
}

Decimal Decimal::operator/(const Decimal& o) const
{
    if (o.v_ == 0)
        throw std::domain_error("division by zero");
    const bool negative = (v_ < 0) != (o.v_ < 0);
    const u128 a = u128(v_ < 0 ? neg(v_) : v_);
    const u128 b = u128(o.v_ < 0 ? neg(o.v_) : o.v_);
    // Long division digit by digit. The remainder stays below b < 2^127, so ten times it
    // is built by adding and reducing, never by a product that could pass 128 bits.
    u128 q = a / b;
    u128 r = a % b;
    for (int k = 0; k < kScale; ++k) {
        u128 ten = 0;
        unsigned digit = 0;
        for (int i = 0; i < 10; ++i) {
            ten += r;
            if (ten >= b) {
                ten -= b;
                ++digit;
            }
        }
        r = ten;
        if (q > (u128(kMax) - digit) / 10)
            outOfRange();
        q = q * 10 + digit;
    }
    if (r > b - r || (r == b - r && (q % 2) != 0)) {
        if (q == u128(kMax))
            outOfRange();
        ++q;
    }
    const i128 v = i128(q);
    return fromRaw(negative ? -v : v);
}

Decimal Decimal::roundHalfEven(int decimals) const { return roundTo(*this, decimals, Half::Even); }
Decimal Decimal::roundHalfAway(int decimals) const { return roundTo(*this, decimals, Half::Away); }
Decimal Decimal::truncate(int decimals) const { return roundTo(*this, decimals, Half::Down); }

double Decimal::toDouble() const
{
    const std::string s = toPlainString();
    double d = 0;
    std::from_chars(s.data(), s.data() + s.size(), d);
    return d;
}

std::string Decimal::toPlainString() const
{
    const i128 m = v_ < 0 ? -v_ : v_;
    std::string whole = digitsOf(m / kOne);
    std::string frac = digitsOf(m % kOne);
    frac.insert(frac.begin(), kScale - frac.size(), '0');
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    std::string out = (v_ < 0 ? "-" : "") + whole;
    if (!frac.empty())
        out += "." + frac;
    return out;
}

std::string Decimal::toFixedString(int decimals) const
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kScale)
        decimals = kScale;
    const Decimal r = roundHalfAway(decimals);
    const i128 m = r.v_ < 0 ? -r.v_ : r.v_;
    std::string out = (r.v_ < 0 ? "-" : "") + digitsOf(m / kOne);
    if (decimals > 0) {
        std::string frac = digitsOf(m % kOne);
        frac.insert(frac.begin(), kScale - frac.size(), '0');
        out += "." + frac.substr(0, decimals);
    }
    return out;
}

} // namespace kuvela
