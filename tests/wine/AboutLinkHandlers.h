#pragma once
// The programs the shell opens links with, replaced for the length of a test: http and mailto
// links go to AboutLinkRecorder.exe, which appends each link to a log file the test reads back.
// The prefix's own commands are put back afterwards. (They live in the machine's classes: Wine
// does not look at the user's HKCU\Software\Classes for them.)
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace abouttest {

class LinkHandlers {
public:
    // `recorder`: the recorder program; `log`: the file it appends to (emptied here).
    LinkHandlers(const std::wstring& recorder, std::wstring log) : recorder_(recorder), log_(std::move(log)) {
        DeleteFileW(log_.c_str());
        for (auto& saved : saved_) {
            saved.command = Command(saved.scheme);
            Open(saved.scheme, Recorder());
        }
    }
    ~LinkHandlers() {
        for (const auto& saved : saved_) {
            if (saved.command) {
                Open(saved.scheme, *saved.command);
            } else {
                RegDeleteTreeW(HKEY_CLASSES_ROOT, saved.scheme);
            }
        }
        DeleteFileW(log_.c_str());
    }
    LinkHandlers(const LinkHandlers&) = delete;
    LinkHandlers& operator=(const LinkHandlers&) = delete;

    std::wstring Recorder() const { return L"\"" + recorder_ + L"\" \"" + log_ + L"\" \"%1\""; }

    // Makes `command` the one that opens `scheme` links ("%1": the link).
    static void Open(const wchar_t* scheme, const std::wstring& command) {
        const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }

    // The links recorded so far, one per line.
    std::vector<std::string> Opened() const {
        std::vector<std::string> lines;
        std::ifstream in{std::filesystem::path(log_)};
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    static std::optional<std::wstring> Command(const wchar_t* scheme) {
        const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
        wchar_t value[1024];
        DWORD size = sizeof value;
        if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(value);
    }

    struct Saved {
        const wchar_t* scheme;
        std::optional<std::wstring> command;
    };
    std::wstring recorder_, log_;
    Saved saved_[2] = {{L"http", {}}, {L"mailto", {}}};
};

}  // namespace abouttest
