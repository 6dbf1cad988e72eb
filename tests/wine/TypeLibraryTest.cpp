// The type library embedded in the module, checked member by member against
// the interface tables: library attributes, IRamvel (slots, DISPIDs, kinds,
// parameters, flags, help strings), IRamvelEvents, the enumerations and the class.
#include "WineCheck.h"

#include "server/ComPtr.h"

#include <Ramvel_h.h>
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

using ramvel::server::Bstr;
using ramvel::server::ComPtr;

namespace {

constexpr GUID kStdOleLibrary = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

enum Kind { Get = INVOKE_PROPERTYGET, Put = INVOKE_PROPERTYPUT, PutRef = INVOKE_PROPERTYPUTREF, Method = INVOKE_FUNC };

// One member of the interface table. `params` lists the parameters in order as
// "type name"; an out-parameter (the call's result) is written "out type name".
struct Member {
    int slot;
    MEMBERID dispid;
    Kind kind;
    const wchar_t* name;
    std::vector<std::wstring> params;
    bool hidden;
    const wchar_t* help;
};

const Member kRamvelMembers[] = {
    {7, 1, Get, L"Visible", {L"out VARIANT_BOOL Value"}, true, L""},
    {8, 1, Put, L"Visible", {L"VARIANT_BOOL Value"}, true, L""},
    {9, 2, Get, L"AutoScroll", {L"out VARIANT_BOOL Value"}, false, L""},
    {10, 2, Put, L"AutoScroll", {L"VARIANT_BOOL Value"}, false, L""},
    {11, 3, Get, L"AutoSize", {L"out VARIANT_BOOL Value"}, false, L""},
    {12, 3, Put, L"AutoSize", {L"VARIANT_BOOL Value"}, false, L""},
    {13, 4, Get, L"AxBorderStyle", {L"out TxActiveFormBorderStyle Value"}, false, L""},
    {14, 4, Put, L"AxBorderStyle", {L"TxActiveFormBorderStyle Value"}, false, L""},
    {15, -518, Get, L"Caption", {L"out BSTR Value"}, false, L""},
    {16, -518, Put, L"Caption", {L"BSTR Value"}, false, L""},
    {17, -501, Get, L"Color", {L"out OLE_COLOR Value"}, false, L""},
    {18, -501, Put, L"Color", {L"OLE_COLOR Value"}, false, L""},
    {19, -512, Get, L"Font", {L"out IFontDisp* Value"}, false, L""},
    {20, -512, Put, L"Font", {L"IFontDisp* Value"}, false, L""},
    {21, -512, PutRef, L"Font", {L"IFontDisp** Value"}, false, L""},
    {22, 5, Get, L"KeyPreview", {L"out VARIANT_BOOL Value"}, false, L""},
    {23, 5, Put, L"KeyPreview", {L"VARIANT_BOOL Value"}, false, L""},
    {24, 6, Get, L"PixelsPerInch", {L"out long Value"}, false, L""},
    {25, 6, Put, L"PixelsPerInch", {L"long Value"}, false, L""},
    {26, 7, Get, L"PrintScale", {L"out TxPrintScale Value"}, false, L""},
    {27, 7, Put, L"PrintScale", {L"TxPrintScale Value"}, false, L""},
    {28, 8, Get, L"Scaled", {L"out VARIANT_BOOL Value"}, false, L""},
    {29, 8, Put, L"Scaled", {L"VARIANT_BOOL Value"}, false, L""},
    {30, 9, Get, L"Active", {L"out VARIANT_BOOL Value"}, true, L""},
    {31, 10, Get, L"DropTarget", {L"out VARIANT_BOOL Value"}, true, L""},
    {32, 10, Put, L"DropTarget", {L"VARIANT_BOOL Value"}, true, L""},
    {33, 11, Get, L"HelpFile", {L"out BSTR Value"}, true, L""},
    {34, 11, Put, L"HelpFile", {L"BSTR Value"}, true, L""},
    {35, 12, Get, L"DoubleBuffered", {L"out VARIANT_BOOL Value"}, true, L""},
    {36, 12, Put, L"DoubleBuffered", {L"VARIANT_BOOL Value"}, true, L""},
    {37, -514, Get, L"Enabled", {L"out VARIANT_BOOL Value"}, true, L""},
    {38, -514, Put, L"Enabled", {L"VARIANT_BOOL Value"}, true, L""},
    {39, 13, Get, L"BiDiMode", {L"out TxBiDiMode Value"}, true, L""},
    {40, 13, Put, L"BiDiMode", {L"TxBiDiMode Value"}, true, L""},
    {41, 14, Get, L"Cursor", {L"out short Value"}, false, L""},
    {42, 14, Put, L"Cursor", {L"short Value"}, false, L""},
    {43, -552, Method, L"AboutBox", {}, false, L""},
    {44, 16, Method, L"AddNodes", {L"BSTR NodeParm"}, false, L""},
    {45, 17, Method, L"GoToNode", {L"long Index", L"out BSTR Value"}, false, L""},
    {46, 18, Method, L"AddAfterNode", {L"long Node", L"BSTR NodeParm", L"out BSTR Value"}, false, L""},
    {47, 20, Method, L"Refresh", {}, false, L""},
    {48, 21, Method, L"Clear", {}, false, L""},
    {49, 19, Method, L"GotohNode", {L"long hNode", L"out BSTR Value"}, false, L"Go to Node Handle"},
    {50, 22, Method, L"GethSelectedNode", {L"out long Value"}, false, L""},
    {51, 23, Method, L"DeleteNode", {L"long NodeNumber"}, false, L""},
    {52, 24, Method, L"ClearImages", {}, false, L""},
    {53, 25, Method, L"AddImage", {L"BSTR ImageName", L"out long ImageNumber"}, false, L""},
    {54, 26, Method, L"ReplaceImage", {L"long Index", L"BSTR ImageName"}, false, L""},
    {55, 27, Method, L"ChangeNode", {L"long NodeNumber", L"BSTR Nodevalue"}, false, L""},
    {56, 32, Method, L"FirstChild", {L"long hNode", L"out long Value"}, false, L""},
    {57, 33, Method, L"GethNode", {L"long hNode", L"out BSTR Value"}, false, L""},
    {58, 34, Method, L"LastChild", {L"long hNode", L"out long Value"}, false, L""},
    {59, 35, Method, L"NextSibling", {L"long hNode", L"out long Value"}, false, L""},
    {60, 28, Method, L"ChildrenNumber", {L"long hNode", L"out long Value"}, false, L""},
    {61, 29, Method, L"GetNode", {L"long hNode", L"out BSTR Value"}, false, L""},
    {62, 30, Method, L"DeleteHNode", {L"long hNode"}, false, L""},
    {63, 15, Method, L"GetSelectedNode", {L"out BSTR Value"}, false, L""},
    {64, 38, Get, L"Expanded", {L"long hNode", L"out VARIANT_BOOL nodeStatus"}, false, L""},
    {65, 38, Put, L"Expanded", {L"long hNode", L"VARIANT_BOOL Value"}, false, L""},
    {66, 36, Get, L"TreeRefresh", {L"out VARIANT_BOOL Value"}, false, L""},
    {67, 36, Put, L"TreeRefresh", {L"VARIANT_BOOL Value"}, false, L""},
    {68, 37, Method, L"imageSize", {L"long Width", L"long Height"}, false,
     L"set the width/height of the image list. Warning : all images are lost."},
    {69, 39, Method, L"resetImages", {}, false, L"reset the image list to reflect the standard list."},
    {70, 31, Put, L"Lines", {L"VARIANT_BOOL Value"}, false, L"Show lines."},
    {71, 40, Put, L"Buttons", {L"VARIANT_BOOL Value"}, false, L"Show buttons."},
    {72, 42, Put, L"Track", {L"VARIANT_BOOL Value"}, false, L"Track active nodes."},
    {73, 43, Get, L"Images", {L"out VARIANT_BOOL Value"}, false, L"Images in treeview nodes."},
    {74, 43, Put, L"Images", {L"VARIANT_BOOL Value"}, false, L"Images in treeview nodes."},
    {75, 41, Method, L"getParent", {L"long hNode", L"out BSTR Value"}, false, L""},
    {76, 44, Method, L"storeHNode", {L"long hNode"}, false, L""},
    {77, 46, Method, L"AddAfterCurrentNode", {L"BSTR NodeParm"}, false, L""},
    {78, 45, Get, L"FontName", {L"out BSTR Value"}, false, L""},
    {79, 45, Put, L"FontName", {L"BSTR Value"}, false, L""},
    {80, 47, Get, L"FontSize", {L"out long Value"}, false, L""},
    {81, 47, Put, L"FontSize", {L"long Value"}, false, L""},
    {82, 48, Get, L"ImageList", {L"out long Value"}, false, L""},
    {83, 48, Put, L"ImageList", {L"long Value"}, false, L""},
};

// The events in the order the library stores them. Parameters as for members
// ("inout type name" for a by-reference parameter); `result` is the return type.
struct Event {
    MEMBERID dispid;
    const wchar_t* name;
    std::vector<std::wstring> params;
    const wchar_t* result;
    const wchar_t* help;
};

const Event kRamvelEvents[] = {
    {1, L"OnActivate", {}, L"void", L""},
    {3, L"OnCreate", {}, L"void", L""},
    {4, L"OnDblClick", {}, L"BSTR", L"When a double-click occurs."},
    {5, L"OnDestroy", {}, L"void", L""},
    {6, L"OnDeactivate", {}, L"void", L""},
    {10, L"OnKeyPress", {L"inout short* Key"}, L"void", L"Called when key <= 32"},
    {15, L"OnPaint", {}, L"void", L"Called when the Treeview is painted."},
    {16, L"OnExpanded", {L"BSTR NodeInfo"}, L"BSTR", L"Called when a node is expanded."},
    {7, L"OnChange", {L"BSTR NodeInfo"}, L"BSTR", L"Called at every node change."},
    {8, L"OnCollapsed", {L"BSTR NodeInfo"}, L"BSTR", L"Called whena node is collapsed."},
    {9, L"OnRightClick", {L"BSTR NodeInfo"}, L"BSTR", L"nodeInfo or '#' followed by X, Y if no corresponding node."},
    {11, L"OnClick", {}, L"void", L""},
};

struct Enumeration {
    const GUID* guid;
    const wchar_t* name;
    std::vector<std::pair<std::wstring, long>> members;
};

const GUID kBorderStyle = {0x3B71D5C7, 0x7A2E, 0x11D2, {0xB4, 0xF9, 0x00, 0x60, 0xB8, 0x3C, 0x5E, 0x17}};
const GUID kPrintScale = {0x3B71D5C8, 0x7A2E, 0x11D2, {0xB4, 0xF9, 0x00, 0x60, 0xB8, 0x3C, 0x5E, 0x17}};
const GUID kMouseButton = {0x3B71D5C9, 0x7A2E, 0x11D2, {0xB4, 0xF9, 0x00, 0x60, 0xB8, 0x3C, 0x5E, 0x17}};
const GUID kBiDiMode = {0x3B71D5CA, 0x7A2E, 0x11D2, {0xB4, 0xF9, 0x00, 0x60, 0xB8, 0x3C, 0x5E, 0x17}};

const Enumeration kEnumerations[] = {
    {&kBorderStyle, L"TxActiveFormBorderStyle", {{L"afbNone", 0}, {L"afbSingle", 1}, {L"afbSunken", 2}, {L"afbRaised", 3}}},
    {&kPrintScale, L"TxPrintScale", {{L"poNone", 0}, {L"poProportional", 1}, {L"poPrintToFit", 2}}},
    {&kMouseButton, L"TxMouseButton", {{L"mbLeft", 0}, {L"mbRight", 1}, {L"mbMiddle", 2}}},
    {&kBiDiMode, L"TxBiDiMode",
     {{L"bdLeftToRight", 0}, {L"bdRightToLeft", 1}, {L"bdRightToLeftNoAlign", 2}, {L"bdRightToLeftReadingOnly", 3}}},
};

// --- reading the library -------------------------------------------------------------

struct Documentation {
    std::wstring name;
    std::wstring help;
};

std::wstring Text(const Bstr& text) { return text.Get() ? std::wstring(text.Get(), SysStringLen(text.Get())) : L""; }

Documentation Document(ITypeInfo* info, MEMBERID member) {
    Bstr name;
    Bstr help;
    HRESULT hr = info->GetDocumentation(member, name.Put(), help.Put(), nullptr, nullptr);
    EXPECT_HR(hr, S_OK);
    return {Text(name), Text(help)};
}

std::wstring TypeName(ITypeInfo* info, const TYPEDESC& type) {
    switch (type.vt) {
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_I4: return L"long";
    case VT_I2: return L"short";
    case VT_UI4: return L"unsigned long";
    case VT_VOID: return L"void";
    case VT_HRESULT: return L"HRESULT";
    case VT_PTR: return TypeName(info, *type.lptdesc) + L"*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> referenced;
        if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Put()))) return L"(bad reference)";
        return Document(referenced.Get(), MEMBERID_NIL).name;
    }
    default: return L"VT " + std::to_wstring(type.vt);
    }
}

// The parameters of a function in the tables' notation.
std::vector<std::wstring> Parameters(ITypeInfo* info, const FUNCDESC& function) {
    std::vector<Bstr> names(function.cParams + 1);
    std::vector<BSTR> raw(names.size());
    UINT count = 0;
    EXPECT_HR(info->GetNames(function.memid, raw.data(), static_cast<UINT>(raw.size()), &count), S_OK);
    for (UINT i = 0; i < count; ++i) names[i].Reset(raw[i]);

    std::vector<std::wstring> result;
    for (int i = 0; i < function.cParams; ++i) {
        const ELEMDESC& element = function.lprgelemdescParam[i];
        USHORT flags = element.paramdesc.wParamFlags;
        std::wstring type = TypeName(info, element.tdesc);
        std::wstring direction;
        if ((flags & PARAMFLAG_FIN) && (flags & PARAMFLAG_FOUT)) {
            direction = L"inout ";
        } else if (flags & PARAMFLAG_FRETVAL) {
            direction = L"out ";
            if (type.ends_with(L"*")) type.pop_back();  // the result itself, not its address
        } else if (flags & PARAMFLAG_FOUT) {
            direction = L"out-not-retval ";
        }
        std::wstring name = static_cast<UINT>(i + 1) < count ? Text(names[i + 1]) : L"(unnamed)";
        result.push_back(direction + type + L" " + name);
    }
    return result;
}

struct FunctionDescription {
    ComPtr<ITypeInfo> owner;
    FUNCDESC* desc = nullptr;
    FunctionDescription(ITypeInfo* info, UINT index) : owner(ramvel::server::AddRefed(info)) {
        EXPECT_HR(info->GetFuncDesc(index, &desc), S_OK);
    }
    ~FunctionDescription() {
        if (desc) owner->ReleaseFuncDesc(desc);
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;
};

struct TypeAttributes {
    ComPtr<ITypeInfo> owner;
    TYPEATTR* attr = nullptr;
    explicit TypeAttributes(ITypeInfo* info) : owner(ramvel::server::AddRefed(info)) {
        EXPECT_HR(info->GetTypeAttr(&attr), S_OK);
    }
    ~TypeAttributes() {
        if (attr) owner->ReleaseTypeAttr(attr);
    }
    TypeAttributes(const TypeAttributes&) = delete;
    TypeAttributes& operator=(const TypeAttributes&) = delete;
};

// Names a member by its table row in failure reports.
std::string Row(const wchar_t* name, int slotOrIndex, int kind) {
    const char* kinds[] = {"", "method", "get", "", "put", "", "", "", "putref"};
    return winecheck::Utf8(name) + " #" + std::to_string(slotOrIndex) + " " + (kind < 9 ? kinds[kind] : "?");
}

// --- the checks ---------------------------------------------------------------------

void CheckLibrary(ITypeLib* library) {
    TLIBATTR* attributes = nullptr;
    ASSERT_HR(library->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, LIBID_RamvelProj1);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 0x409u);
    EXPECT_EQ(attributes->syskind, sizeof(void*) == 4 ? SYS_WIN32 : SYS_WIN64);  // the module's own bitness
    // LIBFLAG_FHASDISKIMAGE is the loader's note that the library came from a file.
    EXPECT_EQ(attributes->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, LIBFLAG_FCONTROL);
    library->ReleaseTLibAttr(attributes);

    Bstr name;
    Bstr help;
    EXPECT_HR(library->GetDocumentation(-1, name.Put(), help.Put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(Text(name), L"RamvelProj1");
    EXPECT_EQ(Text(help), L"Ramvel (Library)");
}

void CheckImportedLibrary(ITypeInfo* interfaceHalf) {
    // IDispatch, the base of IRamvel, comes from stdole2.tlb version 2.0.
    HREFTYPE base = 0;
    ASSERT_HR(interfaceHalf->GetRefTypeOfImplType(0, &base), S_OK);
    ComPtr<ITypeInfo> dispatch;
    ASSERT_HR(interfaceHalf->GetRefTypeInfo(base, dispatch.Put()), S_OK);
    EXPECT_EQ(Document(dispatch.Get(), MEMBERID_NIL).name, L"IDispatch");
    ComPtr<ITypeLib> stdole;
    UINT index = 0;
    ASSERT_HR(dispatch->GetContainingTypeLib(stdole.Put(), &index), S_OK);
    TLIBATTR* attributes = nullptr;
    ASSERT_HR(stdole->GetLibAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, kStdOleLibrary);
    EXPECT_EQ(attributes->wMajorVerNum, 2);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    stdole->ReleaseTLibAttr(attributes);
}

void CheckRamvelMember(ITypeInfo* interfaceHalf, UINT index, const Member& expected) {
    SCOPED_TRACE(Row(expected.name, expected.slot, expected.kind));
    FunctionDescription function(interfaceHalf, index);
    ASSERT_TRUE(function.desc);
    const FUNCDESC& f = *function.desc;
    EXPECT_EQ(f.oVft, expected.slot * static_cast<int>(sizeof(void*)));  // a slot is one pointer
    EXPECT_EQ(f.memid, expected.dispid);
    EXPECT_EQ(f.invkind, static_cast<INVOKEKIND>(expected.kind));
    EXPECT_EQ(f.funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(f.callconv, CC_STDCALL);
    EXPECT_EQ(TypeName(interfaceHalf, f.elemdescFunc.tdesc), L"HRESULT");
    EXPECT_EQ(f.cParamsOpt, 0);
    EXPECT_EQ((f.wFuncFlags & FUNCFLAG_FHIDDEN) != 0, expected.hidden);
    EXPECT_EQ(f.wFuncFlags & ~FUNCFLAG_FHIDDEN, 0);

    const Documentation doc = Document(interfaceHalf, f.memid);
    EXPECT_EQ(doc.name, expected.name);
    EXPECT_EQ(doc.help, expected.help);

    // GetNames looks a member up by DISPID, which a get and its put share: both report
    // the names of the first row with that DISPID. The platform leaves the right-hand
    // side of a put unnamed, so a put-only member's value has no name to read back.
    const Member* namesRow = &expected;
    for (const Member& row : kRamvelMembers) {
        if (row.dispid == expected.dispid) {
            namesRow = &row;
            break;
        }
    }
    auto typeOf = [](const std::wstring& p) { return p.substr(0, p.rfind(L' ')); };
    auto nameOf = [](const std::wstring& p) { return p.substr(p.rfind(L' ') + 1); };
    std::vector<std::wstring> expectedNames;
    for (const auto& p : namesRow->params) expectedNames.push_back(nameOf(p));
    if (namesRow->kind == Put || namesRow->kind == PutRef) expectedNames.back() = L"(unnamed)";

    const std::vector<std::wstring> actual = Parameters(interfaceHalf, f);
    ASSERT_EQ(actual.size(), expected.params.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE("parameter " + std::to_string(i));
        EXPECT_EQ(typeOf(actual[i]), typeOf(expected.params[i]));
        EXPECT_EQ(nameOf(actual[i]), i < expectedNames.size() ? expectedNames[i] : L"(unnamed)");
    }
}

void CheckRamvel(ITypeLib* library) {
    ComPtr<ITypeInfo> dispatchHalf;
    ASSERT_HR(library->GetTypeInfoOfGuid(IID_IRamvel, dispatchHalf.Put()), S_OK);
    {
        TypeAttributes a(dispatchHalf.Get());
        ASSERT_TRUE(a.attr);
        EXPECT_EQ(a.attr->typekind, TKIND_DISPATCH);
        EXPECT_EQ(a.attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FNONEXTENSIBLE),
                  TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FNONEXTENSIBLE);
    }
    Documentation doc = Document(dispatchHalf.Get(), MEMBERID_NIL);
    EXPECT_EQ(doc.name, L"IRamvel");
    EXPECT_EQ(doc.help, L"Interface dispatch Ramvel Control");

    // The vtable half of the dual interface holds the slots.
    HREFTYPE vtableRef = 0;
    ASSERT_HR(dispatchHalf->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
    ComPtr<ITypeInfo> interfaceHalf;
    ASSERT_HR(dispatchHalf->GetRefTypeInfo(vtableRef, interfaceHalf.Put()), S_OK);
    TypeAttributes a(interfaceHalf.Get());
    ASSERT_TRUE(a.attr);
    EXPECT_EQ(a.attr->typekind, TKIND_INTERFACE);
    EXPECT_EQ(a.attr->guid, IID_IRamvel);
    const WORD flags = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
    EXPECT_EQ(a.attr->wTypeFlags & flags, flags);
    EXPECT_EQ(a.attr->wTypeFlags & TYPEFLAG_FHIDDEN, 0);
    EXPECT_EQ(a.attr->cbSizeVft, 84u * sizeof(void*));  // 84 slots of one pointer each
    ASSERT_EQ(a.attr->cFuncs, std::size(kRamvelMembers));
    CheckImportedLibrary(interfaceHalf.Get());

    UINT index = 0;
    for (const Member& member : kRamvelMembers) CheckRamvelMember(interfaceHalf.Get(), index++, member);
}

void CheckEvents(ITypeLib* library) {
    ComPtr<ITypeInfo> events;
    ASSERT_HR(library->GetTypeInfoOfGuid(DIID_IRamvelEvents, events.Put()), S_OK);
    TypeAttributes a(events.Get());
    ASSERT_TRUE(a.attr);
    EXPECT_EQ(a.attr->typekind, TKIND_DISPATCH);
    EXPECT_EQ(a.attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE, TYPEFLAG_FDISPATCHABLE);
    EXPECT_EQ(a.attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
    EXPECT_EQ(a.attr->cVars, 0);
    Documentation doc = Document(events.Get(), MEMBERID_NIL);
    EXPECT_EQ(doc.name, L"IRamvelEvents");
    EXPECT_EQ(doc.help, L"Ramvel.Control events.");
    ASSERT_EQ(a.attr->cFuncs, std::size(kRamvelEvents));

    UINT index = 0;
    for (const Event& expected : kRamvelEvents) {
        SCOPED_TRACE(Row(expected.name, static_cast<int>(index), INVOKE_FUNC));
        FunctionDescription function(events.Get(), index++);
        if (!function.desc) continue;
        const FUNCDESC& f = *function.desc;
        EXPECT_EQ(f.memid, expected.dispid);
        EXPECT_EQ(f.funckind, FUNC_DISPATCH);
        EXPECT_EQ(f.invkind, INVOKE_FUNC);
        EXPECT_EQ(f.wFuncFlags, 0);
        EXPECT_EQ(TypeName(events.Get(), f.elemdescFunc.tdesc), expected.result);
        EXPECT_EQ(Parameters(events.Get(), f), expected.params);
        const Documentation member = Document(events.Get(), f.memid);
        EXPECT_EQ(member.name, expected.name);
        EXPECT_EQ(member.help, expected.help);
    }
}

void CheckEnumeration(ITypeLib* library, const Enumeration& expected) {
    SCOPED_TRACE(expected.name);
    ComPtr<ITypeInfo> info;
    ASSERT_HR(library->GetTypeInfoOfGuid(*expected.guid, info.Put()), S_OK);
    TypeAttributes a(info.Get());
    ASSERT_TRUE(a.attr);
    EXPECT_EQ(a.attr->typekind, TKIND_ENUM);
    EXPECT_EQ(Document(info.Get(), MEMBERID_NIL).name, expected.name);
    ASSERT_EQ(a.attr->cVars, expected.members.size());
    for (UINT i = 0; i < a.attr->cVars; ++i) {
        const auto& [name, value] = expected.members[i];
        SCOPED_TRACE(name);
        VARDESC* var = nullptr;
        ASSERT_HR(info->GetVarDesc(i, &var), S_OK);
        EXPECT_EQ(var->varkind, VAR_CONST);
        EXPECT_EQ(var->lpvarValue->vt, VT_I4);
        EXPECT_EQ(var->lpvarValue->lVal, value);
        EXPECT_EQ(Document(info.Get(), var->memid).name, name);
        // Each member's help string should be its own name; widl cannot write
        // help strings on enumeration members, so that part is not checked.
        info->ReleaseVarDesc(var);
    }
}

void CheckClass(ITypeLib* library) {
    ComPtr<ITypeInfo> info;
    ASSERT_HR(library->GetTypeInfoOfGuid(CLSID_Ramvel, info.Put()), S_OK);
    TypeAttributes a(info.Get());
    ASSERT_TRUE(a.attr);
    EXPECT_EQ(a.attr->typekind, TKIND_COCLASS);
    EXPECT_EQ(a.attr->wTypeFlags, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
    Documentation doc = Document(info.Get(), MEMBERID_NIL);
    EXPECT_EQ(doc.name, L"Ramvel");
    EXPECT_EQ(doc.help, L"Ramvel Control");
    ASSERT_EQ(a.attr->cImplTypes, 2);

    const struct {
        const GUID* iid;
        INT flags;
    } implemented[] = {
        {&IID_IRamvel, IMPLTYPEFLAG_FDEFAULT},
        {&DIID_IRamvelEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
    };
    UINT index = 0;
    for (const auto& expected : implemented) {
        SCOPED_TRACE("implemented interface " + std::to_string(index));
        INT flags = 0;
        EXPECT_HR(info->GetImplTypeFlags(index, &flags), S_OK);
        EXPECT_EQ(flags, expected.flags);
        HREFTYPE ref = 0;
        EXPECT_HR(info->GetRefTypeOfImplType(index, &ref), S_OK);
        ComPtr<ITypeInfo> referenced;
        if (SUCCEEDED(info->GetRefTypeInfo(ref, referenced.Put()))) {
            TypeAttributes r(referenced.Get());
            if (r.attr) EXPECT_EQ(r.attr->guid, *expected.iid);
        } else {
            ADD_FAILURE("GetRefTypeInfo failed");
        }
        ++index;
    }
}

}  // namespace

int main() {
    const std::wstring path = winecheck::ModulePath();
    if (FAILED(CoInitialize(nullptr))) winecheck::Abort("CoInitialize failed");
    {
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
        if (FAILED(hr)) winecheck::Abort("no type library in " + winecheck::Utf8(path) + ": " + winecheck::DescribeHr(hr));

        RAMVEL_CASE("library attributes") { CheckLibrary(library.Get()); }
        RAMVEL_CASE("IRamvel") { CheckRamvel(library.Get()); }
        RAMVEL_CASE("IRamvelEvents") { CheckEvents(library.Get()); }
        RAMVEL_CASE("enumerations") {
            for (const auto& enumeration : kEnumerations) CheckEnumeration(library.Get(), enumeration);
        }
        RAMVEL_CASE("Ramvel class") { CheckClass(library.Get()); }
    }
    CoUninitialize();
    return winecheck::Report();
}
