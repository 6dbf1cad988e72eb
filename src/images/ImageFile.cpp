#include "images/ImageFile.h"

#include "control/Fields.h"
#include "control/RamvelError.h"
#include "images/BitmapFile.h"
#include "images/IconFile.h"
#include "images/ImageErrors.h"

namespace ramvel {
namespace {

// Longer files are not pictures any host would put in a tree.
constexpr std::size_t kLongestFile = std::size_t{64} << 20;

}  // namespace

bool IsIconFileName(std::u16string_view name) {
    std::u16string kind(ExtractField(name, 2, u'.'));
    for (char16_t& c : kind)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return kind == u"ICO";
}

ImageFile ReadImageFile(IFileReader& files, std::u16string_view name, std::int32_t width, std::int32_t height) {
    ImageFile file;
    file.icon = IsIconFileName(name);
    const std::vector<std::uint8_t> bytes = files.ReadFile(name, kLongestFile);
    if (bytes.size() > kLongestFile) throw RamvelError(file.icon ? kInvalidIcon : kInvalidBitmap);
    if (file.icon) {
        file.picture = ReadIconFile(bytes, width, height);
    } else {
        BitmapFile bitmap = ReadBitmapFile(bytes);
        file.picture = std::move(bitmap.picture);
        file.transparent = bitmap.transparent;
    }
    return file;
}

}  // namespace ramvel
