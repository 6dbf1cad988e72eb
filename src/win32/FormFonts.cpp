// Fonts with a fallback face, and colours, for the module's forms.
#include "win32/FormFonts.h"

#include <vector>

namespace ramvel::win32 {
namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

bool IsInstalled(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(wanted.lfFaceName, face.c_str(), _TRUNCATE);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Faces of the same kind, in order of preference.
std::vector<const wchar_t*> Substitutes(const std::wstring& face) {
    if (_wcsicmp(face.c_str(), L"Comic Sans MS") == 0) return {L"Comic Neue"};
    if (_wcsicmp(face.c_str(), L"MS Sans Serif") == 0) return {L"Microsoft Sans Serif", L"Tahoma"};
    return {};
}

}  // namespace

COLORREF ToColorRef(std::uint32_t colour) {
    return colour & 0x80000000u ? GetSysColor(static_cast<int>(colour & 0xFF)) : static_cast<COLORREF>(colour);
}

std::wstring InstalledFace(std::u16string_view face) {
    const std::wstring own(face.begin(), face.end());
    if (IsInstalled(own)) return own;
    for (const wchar_t* substitute : Substitutes(own))
        if (IsInstalled(substitute)) return substitute;
    return {};
}

UniqueFont CreateFormFont(const FontSettings& settings) {
    LOGFONTW font{};
    font.lfHeight = settings.height;
    font.lfWeight = settings.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = settings.italic;
    font.lfUnderline = settings.underline;
    font.lfStrikeOut = settings.strikeout;
    font.lfCharSet = settings.charset;
    const std::wstring face = InstalledFace(settings.name);
    wcsncpy_s(font.lfFaceName, face.c_str(), _TRUNCATE);
    // Both faces the forms use are sans-serif (a script face would be a poor stand-in for Comic
    // Sans MS): without them, the font mapper picks the system's own.
    if (face.empty()) font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace ramvel::win32
