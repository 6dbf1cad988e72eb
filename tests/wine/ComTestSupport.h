#pragma once
// Shared by the COM host tests: a COM apartment, BSTR helpers, and the expected tree computed
// from node lines (what the control must report for each node, given its handle).
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Ramvel_h.h"
#include "WineCheck.h"
#include "server/ComPtr.h"

namespace comtest {

using ramvel::server::Bstr;
using ramvel::server::ComPtr;

// A crash ends the program with a message instead of waiting for a debugger.
inline LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::printf("CRASH: exception 0x%08lX at %p\n", static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                info->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    ExitProcess(4);
}

struct Apartment {
    Apartment() {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        SetUnhandledExceptionFilter(ReportCrash);
        if (FAILED(OleInitialize(nullptr))) winecheck::Abort("OleInitialize failed");
    }
    ~Apartment() { OleUninitialize(); }
};

inline std::wstring Text(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }
inline Bstr MakeBstr(std::wstring_view text) {
    return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// Takes an out BSTR, frees it, gives its text.
inline std::wstring Take(BSTR& s) {
    std::wstring text = Text(s);
    SysFreeString(s);
    s = nullptr;
    return text;
}

inline std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) return parts;
        start = end + 1;
    }
}

// The handle a node info text (or the reply of AddAfterNode) carries in its second part.
inline LONG HandleOf(std::wstring_view info) {
    auto parts = Split(info, L'\x01');
    return parts.size() > 1 ? std::wcstol(parts[1].c_str(), nullptr, 10) : 0;
}

// One node as a list of node lines builds it (lines in pre-order, every level at most one
// deeper than the line before, fields 4 and 5 plain decimal).
struct ExpectedNode {
    std::wstring line;
    int level = 0;
    int parent = -1;  // index of the parent, -1 for a root
    std::vector<int> children;
    LONG handle = 0;  // learnt from the control

    std::wstring Field(size_t i) const {  // 1-based, absent -> empty
        auto fields = Split(line, L'\t');
        return i <= fields.size() ? fields[i - 1] : std::wstring();
    }
    std::wstring TextOf() const { return Split(line, L'\t').size() > 1 ? Field(2) : Field(1); }
    std::wstring Or(size_t i, const wchar_t* absent) const { return Field(i).empty() ? absent : Field(i); }
};

struct ExpectedTree {
    std::vector<ExpectedNode> nodes;

    explicit ExpectedTree(const std::vector<std::wstring>& lines) {
        std::vector<int> lastAtLevel;
        for (const auto& line : lines) {
            ExpectedNode node;
            node.line = line;
            node.level = std::stoi(node.Field(1));
            lastAtLevel.resize(node.level + 1);
            node.parent = node.level > 0 ? lastAtLevel[node.level - 1] : -1;
            int index = static_cast<int>(nodes.size());
            if (node.parent >= 0) nodes[node.parent].children.push_back(index);
            lastAtLevel[node.level] = index;
            nodes.push_back(node);
        }
    }

    // The NodeParm that builds this tree.
    std::wstring NodeParm() const {
        std::wstring parm;
        for (const auto& node : nodes) parm += (parm.empty() ? L"" : L"\n") + node.line;
        return parm;
    }

    // Node info text: index SOH handle SOH level TAB text TAB images TAB selected TAB state TAB data.
    std::wstring Info(int index) const {
        const ExpectedNode& n = nodes[index];
        return std::to_wstring(index) + L'\x01' + std::to_wstring(n.handle) + L'\x01' + n.Field(1) + L'\t' +
               n.TextOf() + L'\t' + n.Field(3) + L'\t' + n.Or(4, L"-1") + L'\t' + n.Or(5, L"-1") + L'\t' + n.Field(6);
    }

    LONG FirstChild(int i) const { return nodes[i].children.empty() ? 0 : nodes[nodes[i].children.front()].handle; }
    LONG LastChild(int i) const { return nodes[i].children.empty() ? 0 : nodes[nodes[i].children.back()].handle; }
    LONG NextSibling(int i) const {
        const auto& siblings = Siblings(i);
        for (size_t k = 0; k + 1 < siblings.size(); ++k)
            if (siblings[k] == i) return nodes[siblings[k + 1]].handle;
        return 0;
    }
    std::wstring ParentInfo(int i) const { return nodes[i].parent < 0 ? std::wstring() : Info(nodes[i].parent); }

private:
    std::vector<int> Siblings(int i) const {
        if (nodes[i].parent >= 0) return nodes[nodes[i].parent].children;
        std::vector<int> roots;
        for (size_t k = 0; k < nodes.size(); ++k)
            if (nodes[k].parent < 0) roots.push_back(static_cast<int>(k));
        return roots;
    }
};

// Builds the tree in the control and learns each node's handle from GetNode.
inline bool Build(IRamvel* control, ExpectedTree& tree) {
    Bstr parm = MakeBstr(tree.NodeParm());
    if (!EXPECT_HR(control->AddNodes(parm.Get()), S_OK)) return false;
    for (size_t i = 0; i < tree.nodes.size(); ++i) {
        BSTR info = nullptr;
        if (!EXPECT_HR(control->GetNode(static_cast<LONG>(i), &info), S_OK)) return false;
        tree.nodes[i].handle = HandleOf(Take(info));
    }
    return true;
}

// What every host's IRamvelEvents sink of the tests shares: IUnknown with a visible count (the
// sink lives on the test's stack, so the count only tells whether the control let it go) and
// IDispatch without type information. A sink says what it does with each event in Invoke.
// `answersEvents` false makes an object without the events interface.
class EventSinkBase : public IDispatch {
public:
    explicit EventSinkBase(bool answersEvents = true) : answersEvents_(answersEvents) {}
    virtual ~EventSinkBase() = default;

    ULONG refs = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && (!answersEvents_ || riid != DIID_IRamvelEvents))
            return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

private:
    bool answersEvents_;
};

// The error object the last failed call left for this thread.
struct ErrorObject {
    bool present = false;
    std::wstring source, description;
    GUID guid{};
};

inline ErrorObject TakeErrorInfo() {
    ErrorObject result;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) != S_OK || !info) return result;
    result.present = true;
    BSTR s = nullptr;
    info->GetSource(&s);
    result.source = Take(s);
    info->GetDescription(&s);
    result.description = Take(s);
    info->GetGUID(&result.guid);
    return result;
}

}  // namespace comtest
