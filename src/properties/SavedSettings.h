#pragma once
// The settings a designer gives the control, as a container saves them with its form or page,
// and their binary form.
//
// Binary form (all integers little-endian):
//
//   offset  size  field
//   0       4     signature: the bytes 'R' 'V' 'L' 'S'
//   4       4     format version: 1
//   8       4     payload length n: the bytes that follow (at most kMaxSavedPayload)
//   12      n     entries, one after another, each:
//                   2  tag (SettingTag)
//                   4  value length
//                   .  the value:
//                        flag        1 byte, 0 or 1
//                        number      1, 2 or 4 bytes as the setting's table gives, signed
//                                    or not, within its range
//                        text        UTF-16LE code units, at most kMaxSavedText of them
//
// A reader skips entries whose tag it does not know, so later versions add settings without
// changing the version; the version changes only when a known entry changes its meaning, and
// a reader refuses any version but its own. A setting missing from the payload keeps the value
// it has in the settings the reader starts from (a new control's, for a container's load).
// Each known tag appears at most once. Whatever follows the payload belongs to the container.
//
// Never saved: the nodes (a form fills its tree when it starts), the image lists' pictures,
// the module-wide Images flag, and Visible (the container shows and hides its controls).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ramvel {

// Result codes of a refused load, as the platform's structured storage defines them.
inline constexpr std::int32_t kStgEReadFault = static_cast<std::int32_t>(0x8003001E);     // data ends early
inline constexpr std::int32_t kStgEInvalidHeader = static_cast<std::int32_t>(0x800300FB); // not our signature
inline constexpr std::int32_t kStgEOldFormat = static_cast<std::int32_t>(0x80030104);     // another version
inline constexpr std::int32_t kStgEDocFileCorrupt = static_cast<std::int32_t>(0x80030109); // lengths wrong
inline constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057);       // value out of range

inline constexpr std::uint32_t kSavedFormatVersion = 1;
inline constexpr std::size_t kSavedHeaderSize = 12;
inline constexpr std::size_t kMaxSavedText = 65535;             // code units per text
inline constexpr std::uint32_t kMaxSavedPayload = 1024 * 1024;  // far above what 4 full texts take
inline constexpr std::int32_t kMaxSavedPoints = 32767;          // font sizes, either sign

// A font as it is saved: what the OLE font object carries, the colour aside.
struct SavedFont {
    std::u16string name;
    std::int32_t points = 8;
    bool bold = false, italic = false, underline = false, strikethrough = false;
    std::uint8_t charset = 1;
    bool operator==(const SavedFont&) const = default;
};

struct SavedSettings {
    std::u16string caption;
    std::uint32_t colour = 0;
    SavedFont font;                 // the form's font (Font)
    bool treeOwnFont = false;       // the tree keeps its own font (FontName/FontSize were put)
    std::u16string treeFontName;    // FontName
    std::int32_t treeFontSize = 8;  // FontSize, in points
    bool keyPreview = false;
    std::uint8_t borderStyle = 1, bidiMode = 0, printScale = 1;
    std::int16_t cursor = 0;
    bool doubleBuffered = false, autoScroll = false, autoSize = false, dropTarget = false, enabled = true;
    std::u16string helpFile;
    std::uint8_t imageList = 1;           // 0 none, 1 standard, 2 alternate
    std::int32_t pixelsPerInch = 0;       // the stored value; 0: none (Scaled false)
    bool lines = true, buttons = true, track = false;
    bool operator==(const SavedSettings&) const = default;
};

// Tags are published: never change or reuse one.
enum class SettingTag : std::uint16_t {
    Caption = 1,
    Color = 2,
    FontFace = 3,
    FontPoints = 4,
    FontBold = 5,
    FontItalic = 6,
    FontUnderline = 7,
    FontStrikethrough = 8,
    FontCharset = 9,
    TreeOwnFont = 10,
    TreeFontName = 11,
    TreeFontSize = 12,
    KeyPreview = 13,
    AxBorderStyle = 14,
    BiDiMode = 15,
    Cursor = 16,
    DoubleBuffered = 17,
    HelpFile = 18,
    ImageList = 19,
    AutoScroll = 20,
    AutoSize = 21,
    DropTarget = 22,
    PrintScale = 23,
    PixelsPerInch = 24,
    Enabled = 25,
    Lines = 26,
    Buttons = 27,
    Track = 28,
};

enum class SettingKind { Flag, Number, Text };

using SettingValue = std::variant<bool, std::int64_t, std::u16string>;

// One saved setting: its tag, the name a property bag keeps it under (the type library's, or
// the Font property's name with its font object's part), its kind, and for numbers the width
// in the binary form, the range, and for PixelsPerInch the numbers in range it still refuses.
struct SettingInfo {
    SettingTag tag;
    std::u16string_view name;
    SettingKind kind;
    std::uint8_t width = 0;
    bool isSigned = false;
    std::int64_t min = 0, max = 0;
    std::int64_t gapMin = 1, gapMax = 0;  // refused within the range; empty when gapMin > gapMax
    SettingValue (*get)(const SavedSettings&);
    void (*set)(SavedSettings&, const SettingValue&);
};

// Every saved setting, in the order they are written and applied.
std::span<const SettingInfo> SavedSettingTable();
const SettingInfo* FindSetting(SettingTag tag);

// Throws RamvelError (E_INVALIDARG) naming the setting for a value of the wrong kind, a number
// out of range or a text too long.
void CheckSetting(const SettingInfo& info, const SettingValue& value);
// Stores a value into `settings` after CheckSetting.
void SetSetting(SavedSettings& settings, const SettingInfo& info, const SettingValue& value);

// The binary form of `settings`. Throws RamvelError (CheckSetting) for a setting that would not
// read back: a text longer than kMaxSavedText, a font size beyond kMaxSavedPoints.
std::vector<std::uint8_t> WriteSavedSettings(const SavedSettings& settings);
// An upper bound of what WriteSavedSettings gives for `settings`.
std::size_t SavedSizeBound(const SavedSettings& settings);

// Checks a header (kSavedHeaderSize bytes) and gives the payload length it announces.
// Throws RamvelError: kStgEReadFault (too short), kStgEInvalidHeader, kStgEOldFormat, or
// kStgEDocFileCorrupt (a payload longer than kMaxSavedPayload).
std::uint32_t ReadSavedHeader(std::span<const std::uint8_t> header);
// Reads a payload over `base`. Everything is checked before the result is handed back; throws
// RamvelError (kStgEDocFileCorrupt for lengths, kEInvalidArg for values) otherwise.
SavedSettings ReadSavedPayload(std::span<const std::uint8_t> payload, SavedSettings base);
// Header and payload from one block; bytes after the payload are left alone. `used` receives
// the bytes read.
SavedSettings ReadSavedSettings(std::span<const std::uint8_t> bytes, SavedSettings base, std::size_t* used = nullptr);

}  // namespace ramvel
