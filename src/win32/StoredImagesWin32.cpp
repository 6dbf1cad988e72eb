#include "win32/StoredImagesWin32.h"

#include <span>

#include "control/RamvelError.h"
#include "images/StoredImages.h"

namespace ramvel::win32 {
namespace {

std::span<const std::uint8_t> Resource(HINSTANCE module, const wchar_t* name) {
    const HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw RamvelError(u"Ramvel: the module's image strips are missing.");
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

StoredImageLists Read(HINSTANCE module) {
    return {ReadImageStrip(Resource(module, L"IMAGELIST1"), Resource(module, L"IMAGELIST1_MASK"), kStandardImageCount),
            ReadImageStrip(Resource(module, L"ALTERNATEIMAGELIST"), Resource(module, L"ALTERNATEIMAGELIST_MASK"),
                           kAlternateImageCount)};
}

}  // namespace

const StoredImageLists& StoredImages(HINSTANCE module) {
    static const StoredImageLists lists = Read(module);
    return lists;
}

}  // namespace ramvel::win32
