#include "win32/FileReaderWin32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "control/RamvelError.h"
#include "win32/Handles.h"

namespace ramvel::win32 {
namespace {

struct FileTraits {
    using Type = HANDLE;
    static void Close(HANDLE h) { CloseHandle(h); }
};

std::u16string FullPath(const std::wstring& name) {
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::u16string(name.begin(), name.end());
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return std::u16string(full.begin(), full.end());
}

// The system's text for an error, without its line break.
std::u16string SystemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text(buffer, buffer + length);
    LocalFree(buffer);
    while (!text.empty() && text.back() <= u' ') text.pop_back();
    if (text.empty()) {
        const std::wstring number = std::to_wstring(error);
        text = u"Error " + std::u16string(number.begin(), number.end());
    }
    return text;
}

[[noreturn]] void ThrowCannotOpen(const std::wstring& name, DWORD error) {
    throw RamvelError(u"Impossible d'ouvrir le fichier \"" + FullPath(name) + u"\". " + SystemText(error));
}

}  // namespace

std::vector<std::uint8_t> Win32FileReader::ReadFile(std::u16string_view name, std::size_t limit) {
    const std::wstring path(name.begin(), name.end());
    // Other readers may share the file; writers are kept out while it is read.
    UniqueHandle<FileTraits> file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        file.release();
        ThrowCannotOpen(path, error);
    }
    std::vector<std::uint8_t> bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size)) bytes.reserve(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, limit + 1)));
    std::uint8_t chunk[64 * 1024];
    while (bytes.size() <= limit) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) ThrowCannotOpen(path, GetLastError());
        if (read == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    return bytes;
}

}  // namespace ramvel::win32
