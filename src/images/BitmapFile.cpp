#include "images/BitmapFile.h"

#include "control/RamvelError.h"
#include "images/Dib.h"
#include "images/ImageErrors.h"

namespace ramvel {

BitmapFile ReadBitmapFile(std::span<const std::uint8_t> bytes) {
    static const DibErrors errors{kStreamReadError, kInvalidBitmap};
    constexpr std::size_t kFileHeaderSize = 14;
    BitmapFile file;
    if (bytes.empty()) return file;
    if (bytes.size() < kFileHeaderSize) throw RamvelError(kStreamReadError);
    if (bytes[0] != 'B' || bytes[1] != 'M') throw RamvelError(kInvalidBitmap);

    const DibHeader header = ReadDibHeader(bytes.subspan(kFileHeaderSize), false, errors);
    // The pixels start where the file header says; 0 there means right after the palette.
    std::size_t offset = ReadU32(bytes.data() + 10);
    if (offset == 0) offset = kFileHeaderSize + header.end;
    if (offset < kFileHeaderSize + header.end) throw RamvelError(kInvalidBitmap);
    if (offset > bytes.size()) throw RamvelError(kStreamReadError);

    std::size_t used = 0;
    file.picture = DecodeDibPixels(header, bytes.subspan(offset), errors, used).picture;
    file.transparent = header.bitCount == 1 ? Rgb{0xFFFFFF} : file.picture.pixels[file.picture.At(0, file.picture.height - 1)];
    return file;
}

}  // namespace ramvel
