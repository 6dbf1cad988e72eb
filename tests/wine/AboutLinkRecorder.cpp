// Stands in for the browser and the mail program while the about dialog's tests run: the test
// registers it as the prefix's handler of http and mailto links, and it appends the link the
// shell handed it to a log file as one UTF-8 line.
//   AboutLinkRecorder.exe LOG LINK
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring link = argv[2];
    std::string line(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, link.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, link.c_str(), -1, line.data(), static_cast<int>(line.size()), nullptr, nullptr);
    line.back() = '\n';  // in place of the terminating zero
    const HANDLE log = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return ok ? 0 : 1;
}
