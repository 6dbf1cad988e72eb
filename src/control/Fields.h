#pragma once
// Field functions shared by node lines, node records and node info text, and the
// strict integer conversion every integer field goes through.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control/CharScan.h"

namespace ramvel {

inline constexpr char16_t kLF = u'\n';
inline constexpr char16_t kTAB = u'\t';
inline constexpr char16_t kSOH = u'\x01';
inline constexpr char16_t kComma = u',';

// Number of separators in the text plus one.
int CountFields(std::u16string_view text, char16_t separator);

// Field `index` (from 1) of the text; below 1 gives the first field, past the end the last.
std::u16string_view ExtractField(std::u16string_view text, int index, char16_t separator);

// The first N fields of a text, found in one pass; field i answers as ExtractField(text, i).
template <int N>
class FieldSplit {
public:
    FieldSplit(std::u16string_view text, char16_t separator) : text_(text) {
        ForEachOf(text, separator, [this](std::size_t at) {
            if (count_ <= N) ends_[count_ - 1] = at, starts_[count_] = at + 1;
            ++count_;
        });
        if (count_ <= N) ends_[count_ - 1] = text.size();
    }
    int Count() const { return count_; }
    // Field i, 1 <= i <= N; past the last field it is the last one.
    std::u16string_view operator[](int i) const {
        const int k = (i < count_ ? i : count_) - 1;
        // The bounds come from the text itself: no check needed, as substr would make.
        return {text_.data() + starts_[k], ends_[k] - starts_[k]};
    }
    // Field i, or the empty text when the text has fewer than i fields.
    std::u16string_view IfPresent(int i) const { return i <= count_ ? (*this)[i] : std::u16string_view{}; }

private:
    std::u16string_view text_;
    int count_ = 1;
    std::size_t starts_[N + 1] = {};
    std::size_t ends_[N + 1] = {};
};

// Strict conversion: blanks, sign, decimal or hex ("$", "x", "0x"), nothing after the digits.
// Throws RamvelError("'<text>' n'est pas une valeur entière correcte").
std::int32_t StrToInt(std::u16string_view text);
// The same conversion, without the error: nothing when the text does not convert.
std::optional<std::int32_t> TryStrToInt(std::u16string_view text);

// Signed decimal text of a value.
std::u16string IntToStr(std::int64_t value);
void AppendInt(std::u16string& out, std::int64_t value);

}  // namespace ramvel
