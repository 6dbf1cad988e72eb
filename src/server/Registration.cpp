// Writes and removes the registry entries by which hosts find the control, and
// registers its type library. The class name, description and ProgID come from
// the type library the module carries.
#include "Registration.h"

#include "ModuleLifetime.h"
#include "ServerModule.h"
#include "ComPtr.h"
#include "control/RamvelError.h"
#include "server/ErrorBoundary.h"

#include <olectl.h>
#include <oleauto.h>
#include <shellapi.h>

#include <Ramvel_h.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

namespace ramvel::server {
namespace {

// OLEMISC_ flags that every control of this kind gets, and this control's own.
constexpr DWORD kCommonMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                    OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
constexpr DWORD kControlMiscStatus = OLEMISC_ACTSLIKELABEL | OLEMISC_SIMPLEFRAME;
constexpr int kToolboxBitmap = 1;
constexpr wchar_t kVerbZero[] = L"Propri\u00e9t\u00e9s,0,2";

struct RegKeyTraits {
    using Type = HKEY;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type key) noexcept { RegCloseKey(key); }
};
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type memory) noexcept { LocalFree(memory); }
};
using RegKey = Handle<RegKeyTraits>;
using LocalMemory = Handle<LocalMemoryTraits>;

// A failed step ends the registration with its cause.
void Require(bool ok, HRESULT cause) {
    if (!ok) throw RamvelError(u"", cause);
}
void RequireSuccess(LSTATUS status) { Require(status == ERROR_SUCCESS, HRESULT_FROM_WIN32(status)); }

std::wstring GuidText(REFGUID guid) {
    wchar_t buffer[40];
    int size = StringFromGUID2(guid, buffer, 40);
    return std::wstring(buffer, size > 0 ? size - 1 : 0);
}

std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD size = GetLongPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    return size > 0 && size < std::size(buffer) ? std::wstring(buffer, size) : path;
}

std::wstring ShortPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD size = GetShortPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    return size > 0 && size < std::size(buffer) ? std::wstring(buffer, size) : path;
}

std::wstring FolderOf(const std::wstring& path) {
    auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Where the entries go: HKEY_CLASSES_ROOT, or the current user's classes.
struct RegistryRoot {
    HKEY root;
    std::wstring prefix;

    static RegistryRoot FromCommandLine() {
        if (PerUserSwitch(GetCommandLineW())) return {HKEY_CURRENT_USER, L"Software\\Classes\\"};
        return {HKEY_CLASSES_ROOT, L""};
    }
    bool PerUser() const { return root == HKEY_CURRENT_USER; }

    // Creates or reuses `key` and sets its value `name` (nullptr: the default value). True when
    // the key is new.
    bool Write(const std::wstring& key, const wchar_t* name, const std::wstring& value) const {
        RegKey handle;
        DWORD disposition = 0;
        RequireSuccess(RegCreateKeyExW(root, (prefix + key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                       handle.Put(), &disposition));
        auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        const bool created = disposition == REG_CREATED_NEW_KEY;
        const LSTATUS status =
            RegSetValueExW(handle.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
        if (status != ERROR_SUCCESS && created) {
            handle.Reset();
            Delete(key);
        }
        RequireSuccess(status);
        return created;
    }

    // A key with subkeys, or a missing one, stays as it is.
    void Delete(const std::wstring& key) const { RegDeleteKeyW(root, (prefix + key).c_str()); }
};

// What the entries say about the class, read from the type library.
struct ClassFacts {
    std::wstring clsid;
    std::wstring libid;
    std::wstring progId;
    std::wstring description;
    std::wstring version;
};

ClassFacts ReadClassFacts(ITypeLib* library) {
    TLIBATTR* attributes = nullptr;
    Require(SUCCEEDED(library->GetLibAttr(&attributes)), SELFREG_E_TYPELIB);
    ClassFacts facts;
    facts.libid = GuidText(attributes->guid);
    wchar_t version[32];
    std::swprintf(version, 32, L"%d.%d", attributes->wMajorVerNum, attributes->wMinorVerNum);
    facts.version = version;
    library->ReleaseTLibAttr(attributes);

    Bstr libraryName;
    Require(SUCCEEDED(library->GetDocumentation(-1, libraryName.Put(), nullptr, nullptr, nullptr)), SELFREG_E_TYPELIB);
    ComPtr<ITypeInfo> classInfo;
    Require(SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_Ramvel, classInfo.Put())), SELFREG_E_TYPELIB);
    Bstr className;
    Bstr classHelp;
    Require(SUCCEEDED(classInfo->GetDocumentation(MEMBERID_NIL, className.Put(), classHelp.Put(), nullptr, nullptr)),
            SELFREG_E_TYPELIB);

    facts.clsid = GuidText(CLSID_Ramvel);
    facts.progId = std::wstring(libraryName.Get()) + L"." + className.Get();
    facts.description = classHelp.Get() ? classHelp.Get() : L"";
    return facts;
}

// The per-user type library entries exist from Vista on: looked up, not linked.
template <typename Function>
Function OleAutomationEntry(const char* name) {
    HMODULE oleaut = GetModuleHandleW(L"oleaut32.dll");
    return oleaut ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(oleaut, name))) : nullptr;
}

using RegisterForUserFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
using UnregisterForUserFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

void RegisterTypeLibrary(ITypeLib* library, const RegistryRoot& where, const std::wstring& path) {
    std::wstring helpFolder = FolderOf(path);
    auto* fullPath = const_cast<wchar_t*>(path.c_str());
    auto* helpDir = const_cast<wchar_t*>(helpFolder.c_str());
    auto forUser = where.PerUser() ? OleAutomationEntry<RegisterForUserFn>("RegisterTypeLibForUser") : nullptr;
    HRESULT hr = forUser ? forUser(library, fullPath, helpDir) : RegisterTypeLib(library, fullPath, helpDir);
    Require(SUCCEEDED(hr), hr);
}

// The platform's answer is not looked at: undoing goes on either way.
void UnregisterTypeLibrary(ITypeLib* library, const RegistryRoot& where) {
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes))) return;
    auto forUser = where.PerUser() ? OleAutomationEntry<UnregisterForUserFn>("UnRegisterTypeLibForUser") : nullptr;
    if (forUser) {
        forUser(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                attributes->syskind);
    } else {
        UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                          attributes->syskind);
    }
    library->ReleaseTLibAttr(attributes);
}

// What a registration did so far, undone when it cannot finish: the keys it created, newest
// first, and the type library's registration.
class RegistrationUndo {
public:
    RegistrationUndo(const RegistryRoot& where, ITypeLib* library) : where_(where), library_(library) {}
    ~RegistrationUndo() {
        if (done_) return;
        for (auto key = created_.rbegin(); key != created_.rend(); ++key) where_.Delete(*key);
        if (typeLibraryRegistered_) UnregisterTypeLibrary(library_, where_);
    }
    RegistrationUndo(const RegistrationUndo&) = delete;
    RegistrationUndo& operator=(const RegistrationUndo&) = delete;

    void TypeLibraryRegistered() { typeLibraryRegistered_ = true; }
    void Write(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
        // The record is made ready first: nothing can fail between the write and keeping it.
        std::wstring record = key;
        created_.reserve(created_.size() + 1);
        if (where_.Write(key, name, value)) created_.push_back(std::move(record));
    }
    void Done() { done_ = true; }

private:
    const RegistryRoot& where_;
    ITypeLib* library_;
    std::vector<std::wstring> created_;
    bool typeLibraryRegistered_ = false;
    bool done_ = false;
};

}  // namespace

bool PerUserSwitch(const wchar_t* commandLine) {
    if (!commandLine || !*commandLine) return false;
    int count = 0;
    LocalMemory arguments(CommandLineToArgvW(commandLine, &count));
    if (!arguments) return false;
    auto** argv = static_cast<wchar_t**>(arguments.Get());
    for (int i = 1; i < count; ++i) {
        const wchar_t* argument = argv[i];
        if (argument[0] != L'/' && argument[0] != L'-') continue;
        if (lstrcmpiW(argument + 1, L"REGSERVERPERUSER") == 0 || lstrcmpiW(argument + 1, L"UNREGSERVERPERUSER") == 0)
            return true;
    }
    return false;
}

HRESULT RegisterServer() {
    return ComCall([] {
        ITypeLib* library = TypeLibrary();
        Require(library != nullptr, SELFREG_E_TYPELIB);
        const RegistryRoot where = RegistryRoot::FromCommandLine();
        const std::wstring path = LongPath(ModulePath());
        Require(!path.empty(), HRESULT_FROM_WIN32(GetLastError()));
        const ClassFacts facts = ReadClassFacts(library);

        RegistrationUndo undo(where, library);
        RegisterTypeLibrary(library, where, path);
        undo.TypeLibraryRegistered();

        const std::wstring c = L"CLSID\\" + facts.clsid;
        const std::wstring serverPath = path.find(L' ') != std::wstring::npos ? ShortPath(path) : path;
        struct Row {
            std::wstring key;
            const wchar_t* name;
            std::wstring value;
        };
        const Row rows[] = {
            {c, nullptr, facts.description},
            {c + L"\\InprocServer32", nullptr, serverPath},
            {c + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {facts.progId, nullptr, facts.description},
            {facts.progId + L"\\Clsid", nullptr, facts.clsid},
            {c + L"\\ProgID", nullptr, facts.progId},
            {c + L"\\Version", nullptr, facts.version},
            {c + L"\\TypeLib", nullptr, facts.libid},
            {c + L"\\MiscStatus", nullptr, L"0"},
            {c + L"\\MiscStatus\\1", nullptr, std::to_wstring(kCommonMiscStatus | kControlMiscStatus)},
            {c + L"\\ToolboxBitmap32", nullptr, path + L"," + std::to_wstring(kToolboxBitmap)},
            {c + L"\\Control", nullptr, L""},
            {c + L"\\Verb", nullptr, L""},
            {c + L"\\Verb\\0", nullptr, kVerbZero},
        };
        for (const Row& row : rows) undo.Write(row.key, row.name, row.value);
        undo.Done();
    });
}

HRESULT UnregisterServer() {
    ITypeLib* library = TypeLibrary();
    if (!library) return E_FAIL;
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes))) return E_FAIL;
    library->ReleaseTLibAttr(attributes);
    const RegistryRoot where = RegistryRoot::FromCommandLine();
    UnregisterTypeLibrary(library, where);
    return ComCall([&] {
        const std::wstring c = L"CLSID\\" + GuidText(CLSID_Ramvel);
        const std::wstring progId = ReadClassFacts(library).progId;
        const std::wstring keys[] = {
            c + L"\\Verb\\0",     c + L"\\Verb",      c + L"\\Control", c + L"\\ToolboxBitmap32",
            c + L"\\MiscStatus\\1", c + L"\\MiscStatus", c + L"\\TypeLib", c + L"\\Version",
            c + L"\\ProgID",      progId + L"\\Clsid", progId,          c + L"\\InprocServer32",
            c,
        };
        for (const auto& key : keys) where.Delete(key);
    });
}

}  // namespace ramvel::server
