#pragma once
// Reads the image files that hosts name, with the platform's own error texts.
#include "platform/FileReader.h"

namespace ramvel::win32 {

class Win32FileReader : public IFileReader {
public:
    std::vector<std::uint8_t> ReadFile(std::u16string_view name, std::size_t limit) override;
};

}  // namespace ramvel::win32
