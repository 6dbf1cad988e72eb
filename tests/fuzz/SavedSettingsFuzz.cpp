// libFuzzer target: saved settings from arbitrary bytes. The reader may refuse them with its
// error; it must never crash or read out of bounds, and what it accepts saves and reads back
// the same.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "control/RamvelError.h"
#include "properties/SavedSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        std::size_t used = 0;
        const ramvel::SavedSettings read = ramvel::ReadSavedSettings(std::span(data, size), {}, &used);
        if (used > size) std::abort();
        const auto again = ramvel::WriteSavedSettings(read);
        if (again.size() > ramvel::SavedSizeBound(read)) std::abort();
        if (!(ramvel::ReadSavedSettings(again, {}) == read)) std::abort();
    } catch (const ramvel::RamvelError& error) {
        if (error.Message().empty() || error.HResult() >= 0) std::abort();
    }
    return 0;
}
