#pragma once
// Reading the files that hosts name (icons and bitmaps).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ramvel {

class IFileReader {
public:
    virtual ~IFileReader() = default;
    // The file's bytes, at most `limit` + 1 of them (so a longer file shows as too long). The
    // file is shared with readers only while it is read. Throws RamvelError
    // "Impossible d'ouvrir le fichier \"<full path>\". <the system's text>" when it cannot
    // be opened or read.
    virtual std::vector<std::uint8_t> ReadFile(std::u16string_view name, std::size_t limit) = 0;
};

}  // namespace ramvel
