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

// Characters of a value's decimal text, its sign included.
inline std::size_t DecimalLength(std::int64_t value) {
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::size_t length = value < 0 ? 2 : 1;
    // Magnitudes stay below 10^19, so the power stops at 10^19, which still fits.
    for (std::uint64_t power = 10; magnitude >= power; power *= 10) ++length;
    return length;
}

// Writes a value's decimal text ending just before `end`; returns where it starts.
inline char16_t* WriteDecimalBefore(char16_t* end, std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--end = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
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
