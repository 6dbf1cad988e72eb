#pragma once
// Joins texts, single characters and integers (in decimal) into one string. The length is
// added up first, so the string is sized once and written without a check per piece: node
// info, replies and records are built on every call that reads or changes a node.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace ramvel {

namespace decimal {

inline std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// Two digits a step: "00" to "99".
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

template <typename Unsigned>
char16_t* WriteMagnitudeBefore(char16_t* end, Unsigned magnitude) {
    for (; magnitude >= 100; magnitude /= 100) {
        const auto pair = static_cast<std::size_t>(magnitude % 100) * 2;
        *--end = static_cast<char16_t>(kDigitPairs[pair + 1]);
        *--end = static_cast<char16_t>(kDigitPairs[pair]);
    }
    if (magnitude >= 10) {
        *--end = static_cast<char16_t>(kDigitPairs[magnitude * 2 + 1]);
        *--end = static_cast<char16_t>(kDigitPairs[magnitude * 2]);
    } else {
        *--end = static_cast<char16_t>(u'0' + magnitude);
    }
    return end;
}

}  // namespace decimal

// Characters of a value's decimal text, its sign included.
inline std::size_t DecimalLength(std::int64_t value) {
    std::uint64_t magnitude = decimal::Magnitude(value);
    std::size_t length = value < 0 ? 2 : 1;
    for (; magnitude >= 100; magnitude /= 100) length += 2;
    return length + (magnitude >= 10);
}

// Writes a value's decimal text ending just before `end`; returns where it starts. Values
// that fit 32 bits, all of the control's, are divided in 32 bits.
inline char16_t* WriteDecimalBefore(char16_t* end, std::int64_t value) {
    const std::uint64_t magnitude = decimal::Magnitude(value);
    end = magnitude <= UINT32_MAX ? decimal::WriteMagnitudeBefore(end, static_cast<std::uint32_t>(magnitude))
                                  : decimal::WriteMagnitudeBefore(end, magnitude);
    if (value < 0) *--end = u'-';
    return end;
}

namespace join {

template <typename Piece>
std::size_t Length(const Piece& piece) {
    if constexpr (std::is_same_v<Piece, char16_t>) return 1;
    else if constexpr (std::is_integral_v<Piece>) return DecimalLength(piece);
    else return std::u16string_view(piece).size();
}

// Writes a piece of `length` characters (as Length gave) at `at`.
template <typename Piece>
void Write(char16_t* at, std::size_t length, const Piece& piece) {
    if constexpr (std::is_same_v<Piece, char16_t>) {
        *at = piece;
    } else if constexpr (std::is_integral_v<Piece>) {
        WriteDecimalBefore(at + length, piece);
    } else if (length != 0) {
        // Only when not empty: an empty view may carry a null pointer, which memcpy must not get.
        std::memcpy(at, std::u16string_view(piece).data(), length * sizeof(char16_t));
    }
}

}  // namespace join

// `out` becomes the pieces joined; its room is reused.
template <typename... Pieces>
void JoinInto(std::u16string& out, const Pieces&... pieces) {
    const std::size_t lengths[] = {join::Length(pieces)...};
    std::size_t total = 0;
    for (std::size_t length : lengths) total += length;
    out.resize(total);
    char16_t* at = out.data();
    const std::size_t* length = lengths;
    ((join::Write(at, *length, pieces), at += *length++), ...);
}

template <typename... Pieces>
std::u16string Join(const Pieces&... pieces) {
    std::u16string out;
    JoinInto(out, pieces...);
    return out;
}

}  // namespace ramvel
