#pragma once
// Tiny check-and-report kit for the test programs run under Wine.
//
//   int main() {
//       RAMVEL_CASE("class factory") {            // groups checks; prints the name on failure
//           for (const auto& c : cases) {
//               SCOPED_TRACE(c.name);             // context printed with every failure below
//               EXPECT_HR(Call(c.input), c.expected);
//               EXPECT_EQ(Actual(), c.value);     // prints expected and actual on mismatch
//               EXPECT_SEQ_EQ(log, c.events);     // two vectors side by side, first difference marked
//           }
//       }
//       return winecheck::Report();               // 0 when every check passed
//   }
//
// EXPECT_* record a failure and go on; ASSERT_* also return from the current function:
// use them in helper functions returning void or in lambdas, never directly in main.
// Values print through winecheck::Describe: integers, bool, text (narrow, wide, UTF-16),
// GUIDs, and anything with an overload of Describe found by lookup.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace winecheck {

struct State {
    int checks = 0;
    int failures = 0;
    std::vector<std::string> trace;
    std::string currentCase;
};

inline State& Current() {
    static State state;
    return state;
}

// UTF-16 to UTF-8 for printing.
inline std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// Shows control characters (TAB, LF, SOH...) as escapes so texts compare visibly.
inline std::string Quote(std::string_view utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

inline std::string Describe(std::wstring_view text) { return Quote(Utf8(text)); }
inline std::string Describe(const std::wstring& text) { return Describe(std::wstring_view(text)); }
inline std::string Describe(const wchar_t* text) { return text ? Describe(std::wstring_view(text)) : "(null)"; }
inline std::string Describe(wchar_t* text) { return Describe(static_cast<const wchar_t*>(text)); }
inline std::string Describe(std::u16string_view text) {
    return Describe(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}
inline std::string Describe(const std::u16string& text) { return Describe(std::u16string_view(text)); }
inline std::string Describe(const char16_t* text) {
    return text ? Describe(std::u16string_view(text)) : "(null)";
}
inline std::string Describe(std::string_view text) { return Quote(text); }
inline std::string Describe(const std::string& text) { return Quote(text); }
inline std::string Describe(const char* text) { return text ? Quote(text) : "(null)"; }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
inline std::string Describe(std::nullptr_t) { return "nullptr"; }
inline std::string Describe(const GUID& guid) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return buffer;
}
template <typename T>
    requires(std::is_integral_v<T> || std::is_enum_v<T>)
std::string Describe(T value) {
    if constexpr (std::is_enum_v<T>) {
        return Describe(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_signed_v<T>) {
        auto v = static_cast<long long>(value);
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%lld (0x%llX)", v,
                      static_cast<unsigned long long>(static_cast<std::make_unsigned_t<T>>(value)));
        return buffer;
    } else {
        auto v = static_cast<unsigned long long>(value);
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%llu (0x%llX)", v, v);
        return buffer;
    }
}
template <typename T>
std::string Describe(T* pointer) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", static_cast<const void*>(pointer));
    return buffer;
}

template <typename T>
std::string Describe(const std::vector<T>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Describe(items[i]);
    return out + "]";
}

inline std::string DescribeHr(HRESULT hr) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(hr));
    return buffer;
}

inline void Fail(const char* file, int line, const std::string& what) {
    State& state = Current();
    ++state.failures;
    std::printf("FAIL %s:%d", file, line);
    if (!state.currentCase.empty()) std::printf(" [%s]", state.currentCase.c_str());
    std::printf("\n  %s\n", what.c_str());
    for (const auto& entry : state.trace) std::printf("  in: %s\n", entry.c_str());
    std::fflush(stdout);
}

// Records one check; prints a failure with its context. Returns `ok`.
inline bool Check(bool ok, const char* file, int line, const std::string& what) {
    ++Current().checks;
    if (!ok) Fail(file, line, what);
    return ok;
}

// Character pointers compare as texts (a null pointer as the empty text), integers by value
// whatever their signedness, everything else with ==.
template <typename T>
decltype(auto) Comparable(const T& value) {
    using D = std::decay_t<T>;
    if constexpr (std::is_same_v<D, wchar_t*> || std::is_same_v<D, const wchar_t*>) {
        const wchar_t* text = value;
        return std::wstring_view(text ? text : L"");
    } else if constexpr (std::is_same_v<D, char16_t*> || std::is_same_v<D, const char16_t*>) {
        const char16_t* text = value;
        return std::u16string_view(text ? text : u"");
    } else if constexpr (std::is_same_v<D, char*> || std::is_same_v<D, const char*>) {
        const char* text = value;
        return std::string_view(text ? text : "");
    } else {
        return (value);
    }
}

template <typename A, typename E>
bool Equal(const A& actual, const E& expected) {
    if constexpr (std::is_integral_v<A> && std::is_integral_v<E> && !std::is_same_v<A, bool> &&
                  !std::is_same_v<E, bool>) {
        return std::cmp_equal(actual, expected);
    } else {
        return Comparable(actual) == Comparable(expected);
    }
}

template <typename A, typename E>
bool CheckEqual(const A& actual, const E& expected, const char* actualText, const char* file, int line) {
    bool ok = Equal(actual, expected);
    if (ok) return Check(true, file, line, {});
    return Check(false, file, line,
                 std::string(actualText) + "\n    expected: " + Describe(expected) + "\n    actual:   " +
                     Describe(actual));
}

inline bool CheckHr(HRESULT actual, HRESULT expected, const char* actualText, const char* file, int line) {
    if (actual == expected) return Check(true, file, line, {});
    return Check(false, file, line,
                 std::string(actualText) + "\n    expected: " + DescribeHr(expected) + "\n    actual:   " +
                     DescribeHr(actual));
}

// Two sequences (event logs, call records...) printed side by side on mismatch,
// with the first differing line marked.
template <typename T>
bool CheckSequence(const std::vector<T>& actual, const std::vector<T>& expected, const char* actualText,
                   const char* file, int line) {
    if (actual == expected) return Check(true, file, line, {});
    std::string text = std::string(actualText) + ": sequences differ\n    #   expected | actual";
    bool marked = false;
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        std::string e = i < expected.size() ? Describe(expected[i]) : "(none)";
        std::string a = i < actual.size() ? Describe(actual[i]) : "(none)";
        bool differs = !(i < actual.size() && i < expected.size() && actual[i] == expected[i]);
        text += "\n  " + std::string(differs && !marked ? "> " : "  ") + std::to_string(i) + "   " + e + " | " + a;
        marked = marked || differs;
    }
    return Check(false, file, line, text);
}

// Adds a line of context to every failure reported while it lives.
class ScopedTrace {
public:
    explicit ScopedTrace(std::string text) { Current().trace.push_back(std::move(text)); }
    explicit ScopedTrace(std::wstring_view text) : ScopedTrace(Utf8(text)) {}
    explicit ScopedTrace(const wchar_t* text) : ScopedTrace(Utf8(text)) {}
    explicit ScopedTrace(const char* text) : ScopedTrace(std::string(text)) {}
    ~ScopedTrace() { Current().trace.pop_back(); }
    ScopedTrace(const ScopedTrace&) = delete;
    ScopedTrace& operator=(const ScopedTrace&) = delete;
};

// Names a group of checks; runs its body once (see RAMVEL_CASE).
class CaseScope {
public:
    explicit CaseScope(const char* name) : saved_(Current().currentCase) { Current().currentCase = name; }
    ~CaseScope() { Current().currentCase = saved_; }
    bool done = false;

private:
    std::string saved_;
};

// Prints the summary line; returns the process exit code (0 only when nothing failed).
inline int Report() {
    const State& state = Current();
    if (state.checks == 0) {
        std::printf("FAIL: no checks ran\n");
        return 2;
    }
    std::printf("%s: %d checks, %d failed\n", state.failures ? "FAILED" : "PASSED", state.checks, state.failures);
    std::fflush(stdout);
    return state.failures ? 1 : 0;
}

// Ends the program at once with a clear message (missing setup, bad arguments...).
[[noreturn]] inline void Abort(const std::string& why) {
    std::printf("ERROR: %s\n", why.c_str());
    std::fflush(stdout);
    std::exit(3);
}

// The module under test, as the Wine tests' environment names it (RAMVEL_OCX, a Windows path).
inline std::wstring ModulePath() {
    wchar_t buffer[MAX_PATH * 2];
    DWORD size = GetEnvironmentVariableW(L"RAMVEL_OCX", buffer, static_cast<DWORD>(std::size(buffer)));
    if (size == 0 || size >= std::size(buffer)) Abort("RAMVEL_OCX is not set: run this test through ctest");
    // The loader's own spelling of the path (backslashes), as GetModuleFileName gives it.
    wchar_t full[MAX_PATH * 2];
    DWORD fullSize = GetFullPathNameW(buffer, static_cast<DWORD>(std::size(full)), full, nullptr);
    if (fullSize == 0 || fullSize >= std::size(full)) Abort("RAMVEL_OCX is not a valid path");
    if (GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES) Abort("RAMVEL_OCX names no file: " + Utf8(full));
    return std::wstring(full, fullSize);
}

}  // namespace winecheck

#define WINECHECK_CAT2(a, b) a##b
#define WINECHECK_CAT(a, b) WINECHECK_CAT2(a, b)

#define RAMVEL_CASE(name) \
    for (::winecheck::CaseScope winecheck_case(name); !winecheck_case.done; winecheck_case.done = true)

#define SCOPED_TRACE(text) ::winecheck::ScopedTrace WINECHECK_CAT(winecheck_trace_, __LINE__)(text)

#define EXPECT_TRUE(cond) ::winecheck::Check(static_cast<bool>(cond), __FILE__, __LINE__, "expected true: " #cond)
#define EXPECT_FALSE(cond) ::winecheck::Check(!(cond), __FILE__, __LINE__, "expected false: " #cond)
#define EXPECT_EQ(actual, expected) ::winecheck::CheckEqual((actual), (expected), #actual, __FILE__, __LINE__)
#define EXPECT_NE(actual, other) \
    ::winecheck::Check(!::winecheck::Equal((actual), (other)), __FILE__, __LINE__, \
                       #actual " should differ from " + ::winecheck::Describe(other))
#define EXPECT_HR(actual, expected) ::winecheck::CheckHr((actual), (expected), #actual, __FILE__, __LINE__)
#define EXPECT_SEQ_EQ(actual, expected) \
    ::winecheck::CheckSequence((actual), (expected), #actual, __FILE__, __LINE__)
#define ADD_FAILURE(text) ::winecheck::Check(false, __FILE__, __LINE__, (text))

#define ASSERT_TRUE(cond) \
    if (!EXPECT_TRUE(cond)) return
#define ASSERT_EQ(actual, expected) \
    if (!EXPECT_EQ(actual, expected)) return
#define ASSERT_HR(actual, expected) \
    if (!EXPECT_HR(actual, expected)) return
