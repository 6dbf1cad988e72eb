#include "control/Fields.h"

#include "control/RamvelError.h"
#include "control/TextJoin.h"

namespace ramvel {

int CountFields(std::u16string_view text, char16_t separator) {
    int count = 1;
    ForEachOf(text, separator, [&](std::size_t) { ++count; });
    return count;
}

std::u16string_view ExtractField(std::u16string_view text, int index, char16_t separator) {
    std::u16string_view rest = text;
    for (int i = 1; i < index; ++i) {
        const std::size_t at = FindChar(rest, separator);
        if (at == std::u16string_view::npos) break;  // past the last field: it stays the last one
        rest.remove_prefix(at + 1);
    }
    return rest.substr(0, FindChar(rest, separator));
}

namespace {

[[noreturn]] void ThrowNotInteger(std::u16string_view text) {
    std::u16string message = u"'";
    message.append(text);
    message += u"' n'est pas une valeur enti\u00e8re correcte";
    throw RamvelError(std::move(message));
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::u16string_view text) {
    // Most fields are a few plain digits, which cannot overflow below ten of them.
    if (!text.empty() && text.size() < 10) {
        std::int32_t value = 0;
        std::size_t at = 0;
        for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) value = value * 10 + (text[at] - u'0');
        if (at == text.size()) return value;
    }
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

    std::u16string_view rest = text.substr(i);
    std::size_t prefix = 0;
    if (rest.starts_with(u"$") || rest.starts_with(u"x") || rest.starts_with(u"X"))
        prefix = 1;
    else if (rest.starts_with(u"0x") || rest.starts_with(u"0X"))
        prefix = 2;
    std::u16string_view digits = rest.substr(prefix);
    if (digits.empty()) return std::nullopt;

    if (prefix != 0) {
        std::uint32_t value = 0;
        int significant = 0;
        for (char16_t c : digits) {
            int d = HexDigit(c);
            if (d < 0) return std::nullopt;
            if (significant > 0 || d != 0) ++significant;
            if (significant > 8) return std::nullopt;
            value = (value << 4) | static_cast<std::uint32_t>(d);
        }
        // A 32-bit pattern: $FFFFFFFF is -1.
        std::uint32_t pattern = negative ? 0u - value : value;
        return static_cast<std::int32_t>(pattern);
    }

    std::int64_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::u16string_view text) {
    if (const std::optional<std::int32_t> value = TryStrToInt(text)) return *value;
    ThrowNotInteger(text);
}

void AppendInt(std::u16string& out, std::int64_t value) {
    const std::size_t start = out.size();
    out.resize(start + DecimalLength(value));
    WriteDecimalBefore(out.data() + out.size(), value);
}

std::u16string IntToStr(std::int64_t value) {
    std::u16string text;
    AppendInt(text, value);
    return text;
}

}  // namespace ramvel
