#include "properties/SavedSettings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

#include "control/RamvelError.h"

namespace ramvel {
namespace {

constexpr std::array<std::uint8_t, 4> kSignature{'R', 'V', 'L', 'S'};
constexpr std::size_t kEntryHeaderSize = 6;  // tag, value length

std::u16string Ascii(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string Decimal(std::int64_t value) { return Ascii(std::to_string(value)); }

[[noreturn]] void Corrupt(const std::u16string& what) {
    throw RamvelError(u"The saved Ramvel settings are damaged: " + what + u".", kStgEDocFileCorrupt);
}

// --- The table ---------------------------------------------------------------------------

// A field as the table's value, and back: flags and texts as they are, numbers widened.
template <typename T>
SettingValue ToValue(const T& field) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::u16string>)
        return SettingValue(field);
    else
        return SettingValue(static_cast<std::int64_t>(field));
}

template <typename T>
void FromValue(T& field, const SettingValue& value) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::u16string>)
        field = std::get<T>(value);
    else
        field = static_cast<T>(std::get<std::int64_t>(value));
}

template <auto Member>
SettingValue Get(const SavedSettings& settings) {
    return ToValue(settings.*Member);
}

template <auto Member>
void Set(SavedSettings& settings, const SettingValue& value) {
    FromValue(settings.*Member, value);
}

template <auto Member>
constexpr SettingInfo Flag(SettingTag tag, std::u16string_view name) {
    return {tag, name, SettingKind::Flag, 1, false, 0, 1, 1, 0, &Get<Member>, &Set<Member>};
}

template <auto Member>
constexpr SettingInfo Text(SettingTag tag, std::u16string_view name) {
    return {tag, name, SettingKind::Text, 0, false, 0, kMaxSavedText, 1, 0, &Get<Member>, &Set<Member>};
}

// A number as wide as its field; the whole range of the field unless narrower bounds are given.
template <auto Member>
constexpr SettingInfo Number(SettingTag tag, std::u16string_view name,
                             std::int64_t min = std::numeric_limits<std::remove_cvref_t<
                                 decltype(std::declval<SavedSettings>().*Member)>>::min(),
                             std::int64_t max = std::numeric_limits<std::remove_cvref_t<
                                 decltype(std::declval<SavedSettings>().*Member)>>::max()) {
    using T = std::remove_cvref_t<decltype(std::declval<SavedSettings>().*Member)>;
    return {tag, name, SettingKind::Number, sizeof(T), std::is_signed_v<T>, min, max, 1, 0, &Get<Member>, &Set<Member>};
}

template <auto FontMember>
SettingValue GetFont(const SavedSettings& settings) {
    return ToValue(settings.font.*FontMember);
}

template <auto FontMember>
void SetFont(SavedSettings& settings, const SettingValue& value) {
    FromValue(settings.font.*FontMember, value);
}

template <auto FontMember>
constexpr SettingInfo FontPart(SettingTag tag, std::u16string_view name, SettingKind kind) {
    using T = std::remove_cvref_t<decltype(std::declval<SavedFont>().*FontMember)>;
    SettingInfo info{tag, name, kind, 0, false, 0, 0, 1, 0, &GetFont<FontMember>, &SetFont<FontMember>};
    if (kind == SettingKind::Flag) {
        info.width = 1;
        info.max = 1;
    } else if (kind == SettingKind::Text) {
        info.max = kMaxSavedText;
    } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        info.width = sizeof(T);
        info.isSigned = std::is_signed_v<T>;
        info.min = std::numeric_limits<T>::min();
        info.max = std::numeric_limits<T>::max();
    }
    return info;
}

using S = SavedSettings;
using F = SavedFont;

// The order is the order of applying: the form's font before the tree's own.
const SettingInfo kTable[] = {
    Text<&S::caption>(SettingTag::Caption, u"Caption"),
    Number<&S::colour>(SettingTag::Color, u"Color"),
    FontPart<&F::name>(SettingTag::FontFace, u"Font.Name", SettingKind::Text),
    [] {
        SettingInfo info = FontPart<&F::points>(SettingTag::FontPoints, u"Font.Size", SettingKind::Number);
        info.min = -kMaxSavedPoints;
        info.max = kMaxSavedPoints;
        return info;
    }(),
    FontPart<&F::bold>(SettingTag::FontBold, u"Font.Bold", SettingKind::Flag),
    FontPart<&F::italic>(SettingTag::FontItalic, u"Font.Italic", SettingKind::Flag),
    FontPart<&F::underline>(SettingTag::FontUnderline, u"Font.Underline", SettingKind::Flag),
    FontPart<&F::strikethrough>(SettingTag::FontStrikethrough, u"Font.Strikethrough", SettingKind::Flag),
    FontPart<&F::charset>(SettingTag::FontCharset, u"Font.Charset", SettingKind::Number),
    Flag<&S::treeOwnFont>(SettingTag::TreeOwnFont, u"TreeOwnFont"),
    Text<&S::treeFontName>(SettingTag::TreeFontName, u"FontName"),
    Number<&S::treeFontSize>(SettingTag::TreeFontSize, u"FontSize", -kMaxSavedPoints, kMaxSavedPoints),
    Flag<&S::keyPreview>(SettingTag::KeyPreview, u"KeyPreview"),
    Number<&S::borderStyle>(SettingTag::AxBorderStyle, u"AxBorderStyle"),
    Number<&S::bidiMode>(SettingTag::BiDiMode, u"BiDiMode"),
    Number<&S::cursor>(SettingTag::Cursor, u"Cursor"),
    Flag<&S::doubleBuffered>(SettingTag::DoubleBuffered, u"DoubleBuffered"),
    Text<&S::helpFile>(SettingTag::HelpFile, u"HelpFile"),
    Number<&S::imageList>(SettingTag::ImageList, u"ImageList", 0, 2),
    Flag<&S::autoScroll>(SettingTag::AutoScroll, u"AutoScroll"),
    Flag<&S::autoSize>(SettingTag::AutoSize, u"AutoSize"),
    Flag<&S::dropTarget>(SettingTag::DropTarget, u"DropTarget"),
    Number<&S::printScale>(SettingTag::PrintScale, u"PrintScale"),
    [] {
        // PixelsPerInch takes 0 (none stored) or a density above 35, as its put does.
        SettingInfo info = Number<&S::pixelsPerInch>(SettingTag::PixelsPerInch, u"PixelsPerInch", 0);
        info.gapMin = 1;
        info.gapMax = 35;
        return info;
    }(),
    Flag<&S::enabled>(SettingTag::Enabled, u"Enabled"),
    Flag<&S::lines>(SettingTag::Lines, u"Lines"),
    Flag<&S::buttons>(SettingTag::Buttons, u"Buttons"),
    Flag<&S::track>(SettingTag::Track, u"Track"),
};

// --- Bytes -------------------------------------------------------------------------------

void PutUnsigned(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t ReadUnsigned(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

std::int64_t ReadNumber(std::span<const std::uint8_t> bytes, bool isSigned) {
    const std::uint64_t raw = ReadUnsigned(bytes);
    const unsigned bits = static_cast<unsigned>(bytes.size() * 8);
    if (!isSigned || bits == 64 || !(raw >> (bits - 1) & 1)) return static_cast<std::int64_t>(raw);
    return static_cast<std::int64_t>(raw) - (std::int64_t{1} << bits);
}

std::size_t ValueSize(const SettingInfo& info, const SettingValue& value) {
    return info.kind == SettingKind::Text ? std::get<std::u16string>(value).size() * 2 : info.width;
}

void CheckTextLength(const SettingInfo& info, std::size_t units) {
    if (units > kMaxSavedText)
        throw RamvelError(Ascii("The text of ") + std::u16string(info.name) + u" is too long to save: at most " +
                              Decimal(kMaxSavedText) + u" characters.",
                          kEInvalidArg);
}

}  // namespace

std::span<const SettingInfo> SavedSettingTable() { return kTable; }

const SettingInfo* FindSetting(SettingTag tag) {
    const auto found = std::find_if(std::begin(kTable), std::end(kTable), [&](const auto& i) { return i.tag == tag; });
    return found == std::end(kTable) ? nullptr : &*found;
}

void CheckSetting(const SettingInfo& info, const SettingValue& value) {
    const std::u16string name(info.name);
    switch (info.kind) {
    case SettingKind::Flag:
        if (!std::holds_alternative<bool>(value)) throw RamvelError(name + u" takes True or False.", kEInvalidArg);
        break;
    case SettingKind::Text:
        if (!std::holds_alternative<std::u16string>(value)) throw RamvelError(name + u" takes a text.", kEInvalidArg);
        CheckTextLength(info, std::get<std::u16string>(value).size());
        break;
    case SettingKind::Number: {
        if (!std::holds_alternative<std::int64_t>(value)) throw RamvelError(name + u" takes a number.", kEInvalidArg);
        const std::int64_t number = std::get<std::int64_t>(value);
        const bool inGap = info.gapMin <= info.gapMax && number >= info.gapMin && number <= info.gapMax;
        if (number < info.min || number > info.max || inGap) {
            std::u16string range = Decimal(info.min) + u" to " + Decimal(info.max);
            if (info.gapMin <= info.gapMax)
                range = Decimal(info.min) + u", or " + Decimal(info.gapMax + 1) + u" to " + Decimal(info.max);
            throw RamvelError(Decimal(number) + u" is out of range for " + name + u" (" + range + u").", kEInvalidArg);
        }
        break;
    }
    }
}

void SetSetting(SavedSettings& settings, const SettingInfo& info, const SettingValue& value) {
    CheckSetting(info, value);
    info.set(settings, value);
}

std::size_t SavedSizeBound(const SavedSettings& settings) {
    std::size_t size = kSavedHeaderSize;
    for (const SettingInfo& info : kTable) size += kEntryHeaderSize + ValueSize(info, info.get(settings));
    return size;
}

std::vector<std::uint8_t> WriteSavedSettings(const SavedSettings& settings) {
    std::vector<std::uint8_t> out;
    out.reserve(SavedSizeBound(settings));
    out.insert(out.end(), kSignature.begin(), kSignature.end());
    PutUnsigned(out, kSavedFormatVersion, 4);
    PutUnsigned(out, 0, 4);  // the payload length, known at the end
    for (const SettingInfo& info : kTable) {
        const SettingValue value = info.get(settings);
        CheckSetting(info, value);  // what is written reads back
        PutUnsigned(out, static_cast<std::uint16_t>(info.tag), 2);
        PutUnsigned(out, ValueSize(info, value), 4);
        switch (info.kind) {
        case SettingKind::Flag: out.push_back(std::get<bool>(value) ? 1 : 0); break;
        case SettingKind::Number:
            PutUnsigned(out, static_cast<std::uint64_t>(std::get<std::int64_t>(value)), info.width);
            break;
        case SettingKind::Text: {
            const auto& text = std::get<std::u16string>(value);
            for (const char16_t unit : text) PutUnsigned(out, unit, 2);
            break;
        }
        }
    }
    const std::size_t payload = out.size() - kSavedHeaderSize;
    for (std::size_t i = 0; i < 4; ++i) out[8 + i] = static_cast<std::uint8_t>(payload >> (8 * i));
    return out;
}

std::uint32_t ReadSavedHeader(std::span<const std::uint8_t> header) {
    if (header.size() < kSavedHeaderSize)
        throw RamvelError(u"The saved Ramvel settings end early: their header takes " + Decimal(kSavedHeaderSize) +
                              u" bytes, only " + Decimal(static_cast<std::int64_t>(header.size())) + u" are there.",
                          kStgEReadFault);
    if (!std::equal(kSignature.begin(), kSignature.end(), header.begin()))
        throw RamvelError(u"The data holds no saved Ramvel settings (its signature is not RVLS).", kStgEInvalidHeader);
    const auto version = static_cast<std::uint32_t>(ReadUnsigned(header.subspan(4, 4)));
    if (version != kSavedFormatVersion)
        throw RamvelError(u"The saved Ramvel settings have format version " + Decimal(version) +
                              u"; this Ramvel reads version " + Decimal(kSavedFormatVersion) + u" only.",
                          kStgEOldFormat);
    const auto length = static_cast<std::uint32_t>(ReadUnsigned(header.subspan(8, 4)));
    if (length > kMaxSavedPayload)
        Corrupt(u"they announce " + Decimal(length) + u" bytes, more than the " + Decimal(kMaxSavedPayload) +
                u" any settings take");
    return length;
}

SavedSettings ReadSavedPayload(std::span<const std::uint8_t> payload, SavedSettings base) {
    std::vector<SettingTag> seen;
    std::size_t at = 0;
    while (at < payload.size()) {
        if (payload.size() - at < kEntryHeaderSize)
            Corrupt(u"an entry's header at byte " + Decimal(static_cast<std::int64_t>(at)) + u" is cut short");
        const auto tag = static_cast<SettingTag>(ReadUnsigned(payload.subspan(at, 2)));
        const std::uint64_t length = ReadUnsigned(payload.subspan(at + 2, 4));
        at += kEntryHeaderSize;
        if (length > payload.size() - at)
            Corrupt(u"entry " + Decimal(static_cast<std::uint16_t>(tag)) + u" claims " + Decimal(static_cast<std::int64_t>(length)) +
                    u" bytes, only " + Decimal(static_cast<std::int64_t>(payload.size() - at)) + u" remain");
        const auto value = payload.subspan(at, static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(length);
        const SettingInfo* info = FindSetting(tag);
        if (!info) continue;  // a later version's setting
        const std::u16string name(info->name);
        if (std::find(seen.begin(), seen.end(), tag) != seen.end()) Corrupt(name + u" appears twice");
        seen.push_back(tag);
        switch (info->kind) {
        case SettingKind::Flag:
            if (value.size() != 1) Corrupt(name + u" takes 1 byte, not " + Decimal(static_cast<std::int64_t>(value.size())));
            if (value[0] > 1)
                throw RamvelError(u"The saved value " + Decimal(value[0]) + u" of " + name + u" is no flag (0 or 1).",
                                  kEInvalidArg);
            SetSetting(base, *info, value[0] == 1);
            break;
        case SettingKind::Number:
            if (value.size() != info->width)
                Corrupt(name + u" takes " + Decimal(info->width) + u" bytes, not " +
                        Decimal(static_cast<std::int64_t>(value.size())));
            SetSetting(base, *info, ReadNumber(value, info->isSigned));
            break;
        case SettingKind::Text: {
            if (value.size() % 2 != 0) Corrupt(name + u" has an odd number of bytes for a UTF-16 text");
            CheckTextLength(*info, value.size() / 2);
            std::u16string text(value.size() / 2, u'\0');
            for (std::size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<char16_t>(value[2 * i] | value[2 * i + 1] << 8);
            SetSetting(base, *info, std::move(text));
            break;
        }
        }
    }
    return base;
}

SavedSettings ReadSavedSettings(std::span<const std::uint8_t> bytes, SavedSettings base, std::size_t* used) {
    const std::uint32_t length = ReadSavedHeader(bytes);
    if (bytes.size() - kSavedHeaderSize < length)
        throw RamvelError(u"The saved Ramvel settings end early: " + Decimal(length) + u" bytes of settings announced, " +
                              Decimal(static_cast<std::int64_t>(bytes.size() - kSavedHeaderSize)) + u" are there.",
                          kStgEReadFault);
    SavedSettings result = ReadSavedPayload(bytes.subspan(kSavedHeaderSize, length), std::move(base));
    if (used) *used = kSavedHeaderSize + length;
    return result;
}

}  // namespace ramvel
