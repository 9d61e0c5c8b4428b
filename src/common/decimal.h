#pragma once
// Exact decimal money arithmetic: a signed 128-bit integer counting units of 10^-12.
// Amounts a person checks by hand must round as a person rounds in decimal; binary
// floating point never decides a rounding here. A result past the range (about
// ±1.7e26) throws std::overflow_error rather than wrapping around.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kuvela {

class Decimal {
public:
    static constexpr int kScale = 12;

    constexpr Decimal() = default;
    Decimal(int whole) : Decimal(static_cast<long long>(whole)) {}
    Decimal(long long whole);

    // "-12.345", "0.5", "7", "1.5e-3" (C notation, '.' point, no grouping). Digits below
    // the 12th place are rounded, a half away from zero. nullopt when not a number or past
    // the range.
    static std::optional<Decimal> parse(std::string_view plain);
    // A double as its shortest round-trip text, at most 15 significant digits
    // (how a workbook number is seen by a person). nullopt past the range (or not finite).
    static std::optional<Decimal> tryFromDouble(double d);
    // The same, throwing std::overflow_error where tryFromDouble has no number.
    static Decimal fromDouble(double d);

    Decimal operator+(const Decimal& o) const;
    Decimal operator-(const Decimal& o) const;
    Decimal operator-() const;
    Decimal operator*(const Decimal& o) const;  // exact to 12 places, half-even beyond
    Decimal operator/(const Decimal& o) const;  // 12 places, half-even; divisor 0 throws std::domain_error
    Decimal& operator+=(const Decimal& o) { return *this = *this + o; }
    Decimal& operator-=(const Decimal& o) { return *this = *this - o; }
    auto operator<=>(const Decimal&) const = default;
    bool operator==(const Decimal&) const = default;

    // Explicit rounding step: a half goes to the even digit (2.5 -> 2, 0.125 -> 0.12).
    Decimal roundHalfEven(int decimals) const;
    // What formatting does to the digits it drops: a half goes away from zero (2.675 -> 2.68).
    Decimal roundHalfAway(int decimals) const;
    // Digits beyond `decimals` cut off towards zero.
    Decimal truncate(int decimals) const;

    bool isZero() const { return v_ == 0; }
    bool isNegative() const { return v_ < 0; }
    Decimal abs() const { return v_ < 0 ? -*this : *this; }
    double toDouble() const;
    // "-12.5", "364", "0.425": every significant decimal, no grouping, '.' point.
    std::string toPlainString() const;
    // Fixed number of decimals, '.' point, no grouping; rounds half away from zero.
    std::string toFixedString(int decimals) const;

    __int128 raw() const { return v_; }
    static Decimal fromRaw(__int128 r) { Decimal d; d.v_ = r; return d; }

private:
    __int128 v_ = 0;
};

} // namespace kuvela
