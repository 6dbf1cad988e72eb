#pragma once
// Fonts and colours of the module's forms as the platform draws them.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/FormWindow.h"
#include "win32/Handles.h"

namespace ramvel::win32 {

// 0x00BBGGRR, or a system colour by the low byte when the top bit is set.
COLORREF ToColorRef(std::uint32_t colour);

// The face a font is drawn with: its own when installed, else the first installed face of its
// kind ("Comic Sans MS": "Comic Neue"; "MS Sans Serif": "Microsoft Sans Serif", "Tahoma"),
// else none.
std::wstring InstalledFace(std::u16string_view face);

// The font for `settings` (height, style, character set) in its installed face; without one,
// in the system's proportional sans-serif face.
UniqueFont CreateFormFont(const FontSettings& settings);

}  // namespace ramvel::win32
