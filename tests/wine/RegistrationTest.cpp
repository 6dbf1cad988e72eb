// Self-registration of the module: regsvr32 in and out, registering twice,
// the per-user switch on the process command line, and a path with a blank.
// Changes the prefix's registry: runs alone, and leaves the module registered.
#include "WineCheck.h"

#include "server/ComPtr.h"

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

using ramvel::server::Handle;

namespace {

const std::wstring kClsid = L"{3B71D5C5-7A2E-11D2-B4F9-0060B83C5E17}";
const std::wstring kLibid = L"{3B71D5C0-7A2E-11D2-B4F9-0060B83C5E17}";
const std::wstring kIid = L"{3B71D5C1-7A2E-11D2-B4F9-0060B83C5E17}";
const std::wstring kProgId = L"RamvelProj1.Ramvel";
const std::wstring kClassKey = L"CLSID\\" + kClsid;

struct KeyTraits {
    using Type = HKEY;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type key) noexcept { RegCloseKey(key); }
};
using Key = Handle<KeyTraits>;

struct HandleTraits {
    using Type = HANDLE;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { CloseHandle(handle); }
};
using KernelHandle = Handle<HandleTraits>;

// Where a registration lands: the machine's classes or the current user's.
struct Root {
    const char* name;
    HKEY key;
    std::wstring prefix;
};
const Root kMachine{"HKLM\\Software\\Classes", HKEY_LOCAL_MACHINE, L"Software\\Classes\\"};
const Root kUser{"HKCU\\Software\\Classes", HKEY_CURRENT_USER, L"Software\\Classes\\"};

// The registry view of the module's bitness, which its regsvr32 writes (this program has the
// same bitness), and the other one, which a registration must leave alone.
constexpr bool kX86 = sizeof(void*) == 4;
constexpr REGSAM kModuleView = kX86 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
constexpr REGSAM kOtherView = kX86 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

// --- processes and the registry ------------------------------------------------------

DWORD Run(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE("cannot start " + winecheck::Utf8(commandLine));
        return ~0u;
    }
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = ~0u;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

DWORD Regsvr32(const std::wstring& switches, const std::wstring& module) {
    return Run(L"regsvr32.exe " + switches + L" " + Quoted(module));
}

// Runs this program again with `arguments`: it then loads the module and calls one export.
DWORD CallExportInChild(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return Run(Quoted(self) + L" " + arguments);
}

bool KeyExists(const Root& root, const std::wstring& key, REGSAM view = kModuleView) {
    Key handle;
    return RegOpenKeyExW(root.key, (root.prefix + key).c_str(), 0, KEY_READ | view, handle.Put()) == ERROR_SUCCESS;
}

struct Value {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    std::wstring Text() const {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        return text;
    }
};

std::optional<Value> ReadValue(const Root& root, const std::wstring& key, const wchar_t* name) {
    Key handle;
    if (RegOpenKeyExW(root.key, (root.prefix + key).c_str(), 0, KEY_READ | kModuleView, handle.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    Value value;
    DWORD size = 0;
    if (RegQueryValueExW(handle.Get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (RegQueryValueExW(handle.Get(), name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

// Names that an enumeration function gives for a key: its values ("" for the default value)
// or its subkeys.
template <typename Enumerate>
std::set<std::wstring> Names(const Root& root, const std::wstring& key, Enumerate enumerate) {
    std::set<std::wstring> names;
    Key handle;
    if (RegOpenKeyExW(root.key, (root.prefix + key).c_str(), 0, KEY_READ | kModuleView, handle.Put()) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = 256;
        if (enumerate(handle.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.insert(std::wstring(name, size));
    }
    return names;
}

std::set<std::wstring> ValueNames(const Root& root, const std::wstring& key) { return Names(root, key, RegEnumValueW); }

std::set<std::wstring> SubkeyNames(const Root& root, const std::wstring& key) { return Names(root, key, RegEnumKeyExW); }

std::wstring ShortPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD size = GetShortPathNameW(path.c_str(), buffer, MAX_PATH * 2);
    return std::wstring(buffer, size);
}

std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD size = GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2);
    return std::wstring(buffer, size);
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// --- the registration table ------------------------------------------------------------

struct Row {
    std::wstring key;
    std::wstring name;  // "" for the default value
    std::wstring value;
};

std::vector<Row> ExpectedRows(const std::wstring& modulePath) {
    const std::wstring longPath = LongPath(modulePath);
    const bool blank = longPath.find(L' ') != std::wstring::npos;
    const std::wstring c = kClassKey;
    return {
        {c, L"", L"Ramvel Control"},
        {c + L"\\InprocServer32", L"", blank ? ShortPath(longPath) : longPath},
        {c + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {kProgId, L"", L"Ramvel Control"},
        {kProgId + L"\\Clsid", L"", kClsid},
        {c + L"\\ProgID", L"", kProgId},
        {c + L"\\Version", L"", L"1.0"},
        {c + L"\\TypeLib", L"", kLibid},
        {c + L"\\MiscStatus", L"", L"0"},
        {c + L"\\MiscStatus\\1", L"", L"205201"},
        {c + L"\\ToolboxBitmap32", L"", longPath + L",1"},
        {c + L"\\Control", L"", L""},
        {c + L"\\Verb", L"", L""},
        {c + L"\\Verb\\0", L"", L"Propri\u00e9t\u00e9s,0,2"},
    };
}

// Every row present as REG_SZ with its terminating zero, and nothing else under the keys.
void CheckRegistered(const Root& root, const std::wstring& modulePath) {
    SCOPED_TRACE(std::string("registered under ") + root.name);
    const std::vector<Row> rows = ExpectedRows(modulePath);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key + L" [" + (row.name.empty() ? L"default" : row.name) + L"]");
        std::optional<Value> value = ReadValue(root, row.key, row.name.empty() ? nullptr : row.name.c_str());
        if (!EXPECT_TRUE(value.has_value())) continue;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->bytes.size(), (row.value.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(value->Text(), row.value);
    }

    // The exact shape: each key holds the listed values and the listed subkeys only.
    std::set<std::wstring> keys;
    for (const Row& row : rows) keys.insert(row.key);
    for (const std::wstring& key : keys) {
        SCOPED_TRACE(L"shape of " + key);
        std::set<std::wstring> values;
        std::set<std::wstring> children;
        for (const Row& row : rows) {
            if (row.key == key) values.insert(row.name);
            if (row.key.size() > key.size() + 1 && row.key.starts_with(key + L"\\") &&
                row.key.find(L'\\', key.size() + 1) == std::wstring::npos)
                children.insert(row.key.substr(key.size() + 1));
        }
        auto sorted = [](const std::set<std::wstring>& names) { return std::vector<std::wstring>(names.begin(), names.end()); };
        EXPECT_EQ(sorted(ValueNames(root, key)), sorted(values));
        EXPECT_EQ(sorted(SubkeyNames(root, key)), sorted(children));
    }
}

void CheckUnregistered(const Root& root) {
    SCOPED_TRACE(std::string("nothing left under ") + root.name);
    for (const Row& row : ExpectedRows(L"C:\\unused.ocx")) {
        SCOPED_TRACE(row.key);
        EXPECT_FALSE(KeyExists(root, row.key));
    }
}

// The type library as RegisterTypeLib records it (machine-wide classes).
void CheckTypeLibraryRegistered(const std::wstring& modulePath) {
    SCOPED_TRACE("type library registration");
    const Root classes{"HKCR", HKEY_CLASSES_ROOT, L""};
    const std::wstring version = L"TypeLib\\" + kLibid + L"\\1.0";
    const struct {
        std::wstring key;
        std::wstring value;
    } rows[] = {
        {version, L"Ramvel (Library)"},
        {version + (kX86 ? L"\\409\\win32" : L"\\409\\win64"), LongPath(modulePath)},
        {version + L"\\HELPDIR", FolderOf(LongPath(modulePath))},
        {L"Interface\\" + kIid, L"IRamvel"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        std::optional<Value> value = ReadValue(classes, row.key, nullptr);
        if (EXPECT_TRUE(value.has_value())) EXPECT_EQ(value->Text(), row.value);
    }
}

void CheckTypeLibraryUnregistered() {
    const Root classes{"HKCR", HKEY_CLASSES_ROOT, L""};
    EXPECT_FALSE(KeyExists(classes, L"TypeLib\\" + kLibid + L"\\1.0"));
    EXPECT_FALSE(KeyExists(classes, L"Interface\\" + kIid));
}

// --- the cases -------------------------------------------------------------------------

void RegisterAndUnregister(const std::wstring& module) {
    EXPECT_EQ(Regsvr32(L"/s", module), 0u);
    CheckRegistered(kMachine, module);
    CheckTypeLibraryRegistered(module);
    EXPECT_FALSE(KeyExists(kUser, kClassKey));
    EXPECT_FALSE(KeyExists(kMachine, kClassKey, kOtherView));  // hosts of the other bitness find none

    SCOPED_TRACE("registered a second time");
    EXPECT_EQ(Regsvr32(L"/s", module), 0u);
    CheckRegistered(kMachine, module);
    CheckTypeLibraryRegistered(module);

    SCOPED_TRACE("unregistered");
    EXPECT_EQ(Regsvr32(L"/u /s", module), 0u);
    CheckUnregistered(kMachine);
    CheckTypeLibraryUnregistered();
}

void PerUserSwitch(const std::wstring& module) {
    const struct {
        const wchar_t* registerSwitch;
        const wchar_t* unregisterSwitch;
        bool perUser;
    } cases[] = {
        {L"/REGSERVERPERUSER", L"/UNREGSERVERPERUSER", true},
        {L"-regserverperuser", L"-unregserverperuser", true},
        {L"/RegServerPerUser", L"-UnRegServerPerUser", true},
        {L"other /REGSERVERPERUSER more", L"other /UNREGSERVERPERUSER more", true},
        {L"/REGSERVER", L"/UNREGSERVER", false},
        {L"", L"", false},
        {L"REGSERVERPERUSER", L"UNREGSERVERPERUSER", false},  // no "/" or "-": not a switch
        {L"/REGSERVERPERUSERS", L"/UNREGSERVERPERUSERS", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(L"command line \"") + c.registerSwitch + L"\" then \"" + c.unregisterSwitch + L"\"");
        const Root& used = c.perUser ? kUser : kMachine;
        const Root& other = c.perUser ? kMachine : kUser;
        EXPECT_EQ(CallExportInChild(std::wstring(L"--call DllRegisterServer ") + c.registerSwitch), 0u);
        CheckRegistered(used, module);
        EXPECT_FALSE(KeyExists(other, kClassKey));
        EXPECT_FALSE(KeyExists(other, kProgId));
        EXPECT_EQ(CallExportInChild(std::wstring(L"--call DllUnregisterServer ") + c.unregisterSwitch), 0u);
        CheckUnregistered(used);
    }
}

void PathWithBlank(const std::wstring& module) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring tempFolder = LongPath(temp);
    if (tempFolder.ends_with(L'\\')) tempFolder.pop_back();
    const std::wstring folder = tempFolder + L"\\Ramvel test folder";
    const std::wstring copy = folder + L"\\Ramvel.ocx";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(module.c_str(), copy.c_str(), FALSE));

    const std::wstring shortPath = ShortPath(copy);
    EXPECT_FALSE(shortPath.empty());
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos);
    EXPECT_EQ(Regsvr32(L"/s", copy), 0u);
    CheckRegistered(kMachine, copy);  // short form under InprocServer32, long form in ToolboxBitmap32
    auto server = ReadValue(kMachine, kClassKey + L"\\InprocServer32", nullptr);
    if (EXPECT_TRUE(server.has_value())) EXPECT_EQ(server->Text(), shortPath);
    auto toolbox = ReadValue(kMachine, kClassKey + L"\\ToolboxBitmap32", nullptr);
    if (EXPECT_TRUE(toolbox.has_value())) EXPECT_EQ(toolbox->Text(), LongPath(copy) + L",1");

    EXPECT_EQ(Regsvr32(L"/u /s", copy), 0u);
    CheckUnregistered(kMachine);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

// What a designer's toolbox does with ToolboxBitmap32: split "path,number", load that bitmap from
// the module as data, and draw it. The picture is 16x15 and not blank.
void ToolboxBitmap() {
    auto value = ReadValue(kMachine, kClassKey + L"\\ToolboxBitmap32", nullptr);
    ASSERT_TRUE(value.has_value());
    const std::wstring text = value->Text();
    const std::size_t comma = text.find_last_of(L',');
    ASSERT_TRUE(comma != std::wstring::npos);
    const std::wstring path = text.substr(0, comma);
    const int number = _wtoi(text.c_str() + comma + 1);

    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module != nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(number), IMAGE_BITMAP, 0, 0, 0));
    if (EXPECT_TRUE(bitmap != nullptr)) {
        BITMAP shape{};
        GetObjectW(bitmap, sizeof shape, &shape);
        EXPECT_EQ(shape.bmWidth, 16);
        EXPECT_EQ(shape.bmHeight, 15);

        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        std::set<COLORREF> colours;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) colours.insert(GetPixel(memory, x, y));
        EXPECT_TRUE(colours.size() >= 4u);  // background, lines and the pictures' colours
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DeleteObject(bitmap);
    }
    FreeLibrary(module);
}

// A registration that cannot finish: the last key it writes (Verb\0) exists already and refuses
// new values to everyone. The registration answers why (access denied) and removes the keys it
// had created, and the type library's registration, again.
void RefusedKey(const std::wstring& module) {
    const std::wstring refused = kClassKey + L"\\Verb\\0";
    {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        // Deny KEY_SET_VALUE (0x2) to everyone, allow the rest (so the test can delete it later).
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                          &descriptor, nullptr));
        Key key;
        ASSERT_EQ(RegCreateKeyExW(kMachine.key, (kMachine.prefix + refused).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | kModuleView, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
        LocalFree(descriptor);
    }
    Key probe;
    ASSERT_EQ(RegOpenKeyExW(kMachine.key, (kMachine.prefix + refused).c_str(), 0, KEY_SET_VALUE | kModuleView,
                            probe.Put()),
              ERROR_ACCESS_DENIED);  // the key does refuse

    EXPECT_EQ(CallExportInChild(L"--call DllRegisterServer"), static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));
    for (const Row& row : ExpectedRows(module)) {
        SCOPED_TRACE(row.key);
        // Only the refused key and the keys above it, which were there before, are left.
        const bool before = refused == row.key || refused.starts_with(row.key + L"\\");
        EXPECT_EQ(KeyExists(kMachine, row.key), before);
    }
    CheckTypeLibraryUnregistered();

    for (const std::wstring& key : {refused, kClassKey + L"\\Verb", kClassKey})
        EXPECT_EQ(RegDeleteKeyExW(kMachine.key, (kMachine.prefix + key).c_str(), kModuleView, 0), ERROR_SUCCESS);
    CheckUnregistered(kMachine);
}

// Child mode: --call <export> [switches...]; the exit code is the export's result (0 for S_OK),
// or 2 and 3 when the module or the export cannot be found.
int CallExport(const wchar_t* exportName) {
    HMODULE module = LoadLibraryW(winecheck::ModulePath().c_str());
    if (!module) return 2;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    char name[64];
    WideCharToMultiByte(CP_ACP, 0, exportName, -1, name, sizeof name, nullptr, nullptr);
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    int code = entry ? static_cast<int>(entry()) : 3;
    FreeLibrary(module);
    return code;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 3 && std::wstring(argv[1]) == L"--call") return CallExport(argv[2]);

    const std::wstring module = winecheck::ModulePath();
    // Start from nothing registered, whatever an interrupted earlier run left.
    CallExportInChild(L"--call DllUnregisterServer /UNREGSERVERPERUSER");
    Regsvr32(L"/u /s", module);
    RAMVEL_CASE("regsvr32 in, twice, and out") { RegisterAndUnregister(module); }
    RAMVEL_CASE("per-user switch") { PerUserSwitch(module); }
    RAMVEL_CASE("module path with a blank") { PathWithBlank(module); }
    RAMVEL_CASE("a key that refuses the registration") { RefusedKey(module); }
    RAMVEL_CASE("module registered again for the other tests") {
        EXPECT_EQ(Regsvr32(L"/s", module), 0u);
        CheckRegistered(kMachine, module);
    }
    RAMVEL_CASE("toolbox bitmap the registration names") { ToolboxBitmap(); }
    return winecheck::Report();
}
