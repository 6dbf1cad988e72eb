// libFuzzer target: bitmap files from arbitrary bytes. A reader may refuse the bytes with its
// error; it must never crash, read out of bounds or give a picture that contradicts itself.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "control/RamvelError.h"
#include "images/BitmapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const ramvel::BitmapFile file = ramvel::ReadBitmapFile(std::span(data, size));
        const ramvel::Picture& p = file.picture;
        const std::size_t pixels = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
        if (p.pixels.size() != pixels || p.masked.size() != pixels) std::abort();
        if (size != 0 && p.Empty()) std::abort();
    } catch (const ramvel::RamvelError&) {
    }
    return 0;
}
