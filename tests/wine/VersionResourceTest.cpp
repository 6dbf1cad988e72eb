// The module's version resource, read back as a host's property sheet would.
#include "WineCheck.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct FixedVersion {
    DWORD fileMs, fileLs, productMs, productLs, fileType, fileOs, fileSubtype;
};

void CheckVersionResource(const std::wstring& module) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(module.c_str(), &ignored);
    ASSERT_TRUE(size > 0);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(module.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    ASSERT_TRUE(fixedSize >= sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const FixedVersion expected{MAKELONG(0, 1), MAKELONG(55140, 5440), MAKELONG(0, 1), MAKELONG(0, 0),
                                VFT_DLL, VOS__WINDOWS32, 0};
    EXPECT_EQ(fixed->dwFileVersionMS, expected.fileMs);
    EXPECT_EQ(fixed->dwFileVersionLS, expected.fileLs);
    EXPECT_EQ(fixed->dwProductVersionMS, expected.productMs);
    EXPECT_EQ(fixed->dwProductVersionLS, expected.productLs);
    EXPECT_EQ(fixed->dwFileType, expected.fileType);
    EXPECT_EQ(fixed->dwFileOS, expected.fileOs);
    EXPECT_EQ(fixed->dwFileSubtype, expected.fileSubtype);

    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT translationSize = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                               &translationSize));
    ASSERT_EQ(translationSize, sizeof(Translation));
    EXPECT_EQ(translations[0].language, 0x0409);
    EXPECT_EQ(translations[0].codePage, 1252);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } strings[] = {
        {L"FileVersion", L"1.0.0.0"},
        {L"ProductVersion", L"1.0.0.0"},
    };
    for (const auto& entry : strings) {
        SCOPED_TRACE(entry.name);
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904E4\\") + entry.name;
        wchar_t* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_EQ(std::wstring(value), entry.value);
    }
}

}  // namespace

int main() {
    RAMVEL_CASE("version resource") { CheckVersionResource(winecheck::ModulePath()); }
    return winecheck::Report();
}
