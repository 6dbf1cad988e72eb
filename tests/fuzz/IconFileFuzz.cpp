// libFuzzer target: icon files from arbitrary bytes, read for a list size taken from the first
// byte. A reader may refuse the bytes with its error; it must never crash, read out of bounds
// or give a picture that contradicts itself.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "control/RamvelError.h"
#include "images/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::int32_t side = data[0] % 64 + 1;
    try {
        const ramvel::Picture p = ramvel::ReadIconFile(std::span(data + 1, size - 1), side, side);
        const std::size_t pixels = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
        if (p.Empty() || p.pixels.size() != pixels || p.masked.size() != pixels) std::abort();
    } catch (const ramvel::RamvelError&) {
    }
    return 0;
}
