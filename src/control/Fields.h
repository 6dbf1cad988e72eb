#pragma once
// Field functions shared by node lines, node records and node info text, and the
// strict integer conversion every integer field goes through.
#include <cstdint>
#include <string>
#include <string_view>

namespace ramvel {

inline constexpr char16_t kLF = u'\n';
inline constexpr char16_t kTAB = u'\t';
inline constexpr char16_t kSOH = u'\x01';
inline constexpr char16_t kComma = u',';

// Number of separators in the text plus one.
int CountFields(std::u16string_view text, char16_t separator);

// Field `index` (from 1) of the text; below 1 gives the first field, past the end the last.
std::u16string_view ExtractField(std::u16string_view text, int index, char16_t separator);

// Strict conversion: blanks, sign, decimal or hex ("$", "x", "0x"), nothing after the digits.
// Throws RamvelError("'<text>' n'est pas une valeur entière correcte").
std::int32_t StrToInt(std::u16string_view text);

// Signed decimal text of a value.
std::u16string IntToStr(std::int64_t value);
void AppendInt(std::u16string& out, std::int64_t value);

}  // namespace ramvel
