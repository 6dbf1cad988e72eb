// Out of memory in the middle of each IRamvel member, called by its vtable slot and through
// IDispatch::Invoke. This program carries its own copy of the server, the core and the Win32
// layer, and replaces the global operator new with one that fails on demand: for n = 1, 2, ...
// the nth allocation of the call fails, until the call runs through. A call whose allocation
// failed must fail with E_OUTOFMEMORY (late-bound: DISP_E_EXCEPTION carrying it) or, where the
// control gets by without that memory, succeed with exactly the result it gives with memory
// to spare; either way the tree must still agree with a walk of its links. Building a control
// through the class object goes through the same failures.
//   ComOutOfMemoryTest.exe IMAGES_FOLDER     (tests/wine/images, as a Windows path)
#include "HostedControl.h"  // ComTestSupport.h, the container
#include "../unit/oom/FailingAllocator.h"
#include "TreeViewHarness.h"  // BoxWatcher, Watchdog
#include "server/ClassFactory.h"
#include "server/ModuleLifetime.h"

#include <olectl.h>

#include <cstdlib>
#include <exception>
#include <functional>

using namespace comtest;
using ramvel::test::DisarmAllocationFailure;
using ramvel::test::FailAllocationNumber;

namespace {

// A ( B ( C ), D ), E ( F ), with every field of the node lines in use somewhere.
const wchar_t kTree[] = L"0\tA\t1,2\t3\t4\ta-data\n1\tB\t5\n2\tC\n1\tD\t-1\t-1\t2\n0\tE\t7\t7\t7\te-data\n1\tF";

// One root with more children than a leaf of the control's index holds, then a second root:
// inserts and deletes inside it split and empty leaves.
std::wstring WideTree() {
    std::wstring lines = L"0\twide";
    for (int i = 0; i < 700; ++i) lines += L"\n1\tchild " + std::to_wstring(i);
    return lines + L"\n0\tlast";
}
const std::wstring kWideTree = WideTree();

// A first node whose text is longer than a block of the control's text storage, then a short
// one: replacing the long text leaves enough garbage for the texts to be compacted.
const std::wstring kLongTextTree = L"0\t" + std::wstring(1100000, L'x') + L"\t3\n0\tshort";

// No call of the table needs more allocations than this; past it something loops.
constexpr std::size_t kMostAllocations = 3000;


// Where the test is, for the report of an exception that escapes the control.
const char* g_case = "";
std::size_t g_failing = 0;

[[noreturn]] void ReportEscape() {
    std::printf("FAIL: an exception escaped the control (%s, allocation %zu failing)\n", g_case, g_failing);
    std::fflush(stdout);
    std::abort();
}

// An argument as the table names it; made a VARIANT before any allocation is armed.
struct Arg {
    enum Kind { Long, HandleAt, Text, Picture, Bool, Font } kind;
    LONG value = 0;                // Long, Bool; HandleAt: the index of the node whose handle goes
    const wchar_t* text = nullptr;  // Text; Picture: a file of the images folder, the current one
};
Arg Int(LONG value) { return {Arg::Long, value}; }
Arg HandleAt(LONG index) { return {Arg::HandleAt, index}; }
Arg Str(const wchar_t* text) { return {Arg::Text, 0, text}; }
Arg File(const wchar_t* file) { return {Arg::Picture, 0, file}; }
Arg Flag(bool value) { return {Arg::Bool, value ? VARIANT_TRUE : VARIANT_FALSE}; }
Arg NewFont() { return {Arg::Font}; }

// How a result reads: handles as the index of their node, so that runs on rebuilt trees compare.
enum class Out { None, Value, Handle };

// One call's arguments and results, all in place before the failure is armed: the call itself
// allocates nothing on the test's side.
struct Frame {
    std::vector<VARIANT> args;      // first to last
    std::vector<VARIANT> reversed;  // as DISPPARAMS carries them
    std::vector<Bstr> texts;
    std::vector<ComPtr<IFontDisp>> fonts;
    VARIANT out{};  // the vtable call's result, or the Invoke result
    EXCEPINFO excep{};
    DISPID putName = DISPID_PROPERTYPUT;
    DISPPARAMS params{};

    Frame() = default;
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    ~Frame() {
        VariantClear(&out);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
    }

    LONG Long(size_t i) const { return V_I4(&args[i]); }
    BSTR Text(size_t i) const { return V_BSTR(&args[i]); }
    VARIANT_BOOL Bool(size_t i) const { return V_BOOL(&args[i]); }
    IFontDisp* Font(size_t i) const { return static_cast<IFontDisp*>(V_DISPATCH(&args[i])); }
    IFontDisp** FontRef(size_t i) { return reinterpret_cast<IFontDisp**>(&V_DISPATCH(&args[i])); }

    // Out slots for the vtable calls, typed as the member declares them.
    template <typename T>
    T* Slot(VARTYPE type, T* field) {
        V_VT(&out) = type;
        *field = T{};
        return field;
    }
    BSTR* OutText() { return Slot(VT_BSTR, &V_BSTR(&out)); }
    LONG* OutLong() { return Slot(VT_I4, &V_I4(&out)); }
    short* OutShort() { return Slot(VT_I2, &V_I2(&out)); }
    VARIANT_BOOL* OutBool() { return Slot(VT_BOOL, &V_BOOL(&out)); }
    OLE_COLOR* OutColour() { return reinterpret_cast<OLE_COLOR*>(Slot(VT_UI4, &V_UI4(&out))); }
    template <typename E>
    E* OutEnum() {
        return reinterpret_cast<E*>(Slot(VT_I4, &V_I4(&out)));
    }
    IFontDisp** OutFont() { return reinterpret_cast<IFontDisp**>(Slot(VT_DISPATCH, &V_DISPATCH(&out))); }
};

using EarlyCall = HRESULT (*)(IRamvel*, Frame&);

struct MemberCase {
    const char* name;
    DISPID id;
    WORD kind;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET...
    std::vector<Arg> args;
    Out out;
    EarlyCall early;
    // Run on the freshly built tree before the call, with memory to spare.
    std::function<void(IRamvel*)> setUp = {};
    // The node lines of the tree the case starts from.
    const wchar_t* tree = kTree;
};

LONG HandleAtIndex(IRamvel* control, LONG index) {
    BSTR info = nullptr;
    control->GetNode(index, &info);
    return HandleOf(Take(info));
}

void GoTo(IRamvel* control, LONG index) {
    BSTR info = nullptr;
    control->GoToNode(index, &info);
    SysFreeString(info);
}

void StoreAt(IRamvel* control, LONG index) { control->storeHNode(HandleAtIndex(control, index)); }

void ShrinkImages(IRamvel* control) { control->imageSize(24, 24); }

const MemberCase kCases[] = {
    // Building and editing.
    {"AddNodes", DISPID_RAMVEL_ADDNODES, DISPATCH_METHOD, {Str(L"2\tG\t7\n3\tH\n0\tI\t1,3\t2\t1\ti-data")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->AddNodes(f.Text(0)); }},
    {"AddNodes of a wide branch", DISPID_RAMVEL_ADDNODES, DISPATCH_METHOD, {Str(kWideTree.c_str())}, Out::None,
     [](IRamvel* c, Frame& f) { return c->AddNodes(f.Text(0)); }},
    {"AddAfterNode as a child", DISPID_RAMVEL_ADDAFTERNODE, DISPATCH_METHOD, {Int(1), Str(L"2\tX\t3\t4\t5\tx-data")},
     Out::Value, [](IRamvel* c, Frame& f) { return c->AddAfterNode(f.Long(0), f.Text(1), f.OutText()); }},
    {"AddAfterNode at the root", DISPID_RAMVEL_ADDAFTERNODE, DISPATCH_METHOD, {Int(1), Str(L"0\tZ")}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->AddAfterNode(f.Long(0), f.Text(1), f.OutText()); }},
    {"AddAfterNode into a full index leaf", DISPID_RAMVEL_ADDAFTERNODE, DISPATCH_METHOD,
     {Int(10), Str(L"2\tmiddle\t2")}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->AddAfterNode(f.Long(0), f.Text(1), f.OutText()); }, {}, kWideTree.c_str()},
    {"AddAfterCurrentNode", DISPID_RAMVEL_ADDAFTERCURRENTNODE, DISPATCH_METHOD, {Str(L"1\tW\t4\t5")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->AddAfterCurrentNode(f.Text(0)); }, [](IRamvel* c) { StoreAt(c, 3); }},
    {"ChangeNode", DISPID_RAMVEL_CHANGENODE, DISPATCH_METHOD, {Int(1), Str(L"1\tB changed\t6,7\t8\t9\tnew data")},
     Out::None, [](IRamvel* c, Frame& f) { return c->ChangeNode(f.Long(0), f.Text(1)); }},
    {"ChangeNode of the selected node", DISPID_RAMVEL_CHANGENODE, DISPATCH_METHOD, {Int(4), Str(L"0\tE changed\t2")},
     Out::None, [](IRamvel* c, Frame& f) { return c->ChangeNode(f.Long(0), f.Text(1)); },
     [](IRamvel* c) { GoTo(c, 4); }},
    {"ChangeNode that compacts the texts", DISPID_RAMVEL_CHANGENODE, DISPATCH_METHOD, {Int(0), Str(L"0\tnow short\t4")},
     Out::None, [](IRamvel* c, Frame& f) { return c->ChangeNode(f.Long(0), f.Text(1)); }, {}, kLongTextTree.c_str()},
    {"DeleteNode of a wide subtree", DISPID_RAMVEL_DELETENODE, DISPATCH_METHOD, {Int(0)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->DeleteNode(f.Long(0)); }, {}, kWideTree.c_str()},
    {"DeleteNode in the middle of a wide tree", DISPID_RAMVEL_DELETENODE, DISPATCH_METHOD, {Int(300)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->DeleteNode(f.Long(0)); }, {}, kWideTree.c_str()},
    {"DeleteNode of a subtree", DISPID_RAMVEL_DELETENODE, DISPATCH_METHOD, {Int(0)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->DeleteNode(f.Long(0)); }},
    {"DeleteNode of the selected leaf", DISPID_RAMVEL_DELETENODE, DISPATCH_METHOD, {Int(2)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->DeleteNode(f.Long(0)); }, [](IRamvel* c) { GoTo(c, 2); }},
    {"DeleteHNode", DISPID_RAMVEL_DELETEHNODE, DISPATCH_METHOD, {HandleAt(4)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->DeleteHNode(f.Long(0)); }},
    {"Clear", DISPID_RAMVEL_CLEAR, DISPATCH_METHOD, {}, Out::None, [](IRamvel* c, Frame&) { return c->Clear(); }},
    {"Clear of a wide tree", DISPID_RAMVEL_CLEAR, DISPATCH_METHOD, {}, Out::None,
     [](IRamvel* c, Frame&) { return c->Clear(); }, {}, kWideTree.c_str()},
    {"Refresh", DISPID_RAMVEL_REFRESH, DISPATCH_METHOD, {}, Out::None,
     [](IRamvel* c, Frame&) { return c->Refresh(); }},
    {"TreeRefresh get", DISPID_RAMVEL_TREEREFRESH, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_TreeRefresh(f.OutBool()); }},
    {"TreeRefresh put false", DISPID_RAMVEL_TREEREFRESH, DISPATCH_PROPERTYPUT, {Flag(false)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_TreeRefresh(f.Bool(0)); }},
    {"TreeRefresh put true", DISPID_RAMVEL_TREEREFRESH, DISPATCH_PROPERTYPUT, {Flag(true)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_TreeRefresh(f.Bool(0)); },
     [](IRamvel* c) { c->put_TreeRefresh(VARIANT_FALSE); }},
    // Selecting, navigating and reading.
    {"GoToNode into a closed parent", DISPID_RAMVEL_GOTONODE, DISPATCH_METHOD, {Int(2)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GoToNode(f.Long(0), f.OutText()); }},
    {"GoToNode deep in a wide tree", DISPID_RAMVEL_GOTONODE, DISPATCH_METHOD, {Int(650)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GoToNode(f.Long(0), f.OutText()); }, {}, kWideTree.c_str()},
    {"GotohNode", DISPID_RAMVEL_GOTOHNODE, DISPATCH_METHOD, {HandleAt(5)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GotohNode(f.Long(0), f.OutText()); }},
    {"GetNode", DISPID_RAMVEL_GETNODE, DISPATCH_METHOD, {Int(3)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GetNode(f.Long(0), f.OutText()); }},
    {"GethNode", DISPID_RAMVEL_GETHNODE, DISPATCH_METHOD, {HandleAt(5)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GethNode(f.Long(0), f.OutText()); }},
    {"getParent", DISPID_RAMVEL_GETPARENT, DISPATCH_METHOD, {HandleAt(2)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->getParent(f.Long(0), f.OutText()); }},
    {"GetSelectedNode", DISPID_RAMVEL_GETSELECTEDNODE, DISPATCH_METHOD, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->GetSelectedNode(f.OutText()); }, [](IRamvel* c) { GoTo(c, 2); }},
    {"GethSelectedNode", DISPID_RAMVEL_GETHSELECTEDNODE, DISPATCH_METHOD, {}, Out::Handle,
     [](IRamvel* c, Frame& f) { return c->GethSelectedNode(f.OutLong()); }, [](IRamvel* c) { GoTo(c, 2); }},
    {"FirstChild", DISPID_RAMVEL_FIRSTCHILD, DISPATCH_METHOD, {HandleAt(0)}, Out::Handle,
     [](IRamvel* c, Frame& f) { return c->FirstChild(f.Long(0), f.OutLong()); }},
    {"LastChild", DISPID_RAMVEL_LASTCHILD, DISPATCH_METHOD, {HandleAt(0)}, Out::Handle,
     [](IRamvel* c, Frame& f) { return c->LastChild(f.Long(0), f.OutLong()); }},
    {"NextSibling", DISPID_RAMVEL_NEXTSIBLING, DISPATCH_METHOD, {HandleAt(0)}, Out::Handle,
     [](IRamvel* c, Frame& f) { return c->NextSibling(f.Long(0), f.OutLong()); }},
    {"ChildrenNumber of a node", DISPID_RAMVEL_CHILDRENNUMBER, DISPATCH_METHOD, {HandleAt(0)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->ChildrenNumber(f.Long(0), f.OutLong()); }},
    {"ChildrenNumber of the tree", DISPID_RAMVEL_CHILDRENNUMBER, DISPATCH_METHOD, {Int(0)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->ChildrenNumber(f.Long(0), f.OutLong()); }},
    {"Expanded get", DISPID_RAMVEL_EXPANDED, DISPATCH_PROPERTYGET, {HandleAt(0)}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Expanded(f.Long(0), f.OutBool()); }},
    {"Expanded put true", DISPID_RAMVEL_EXPANDED, DISPATCH_PROPERTYPUT, {HandleAt(0), Flag(true)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Expanded(f.Long(0), f.Bool(1)); }},
    {"Expanded put false", DISPID_RAMVEL_EXPANDED, DISPATCH_PROPERTYPUT, {HandleAt(0), Flag(false)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Expanded(f.Long(0), f.Bool(1)); },
     [](IRamvel* c) { c->put_Expanded(HandleAtIndex(c, 0), VARIANT_TRUE); }},
    {"storeHNode", DISPID_RAMVEL_STOREHNODE, DISPATCH_METHOD, {HandleAt(1)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->storeHNode(f.Long(0)); }},
    // Images.
    {"AddImage of an icon", DISPID_RAMVEL_ADDIMAGE, DISPATCH_METHOD, {File(L"icon16-32bit.ico")}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->AddImage(f.Text(0), f.OutLong()); }},
    {"AddImage of a bitmap strip", DISPID_RAMVEL_ADDIMAGE, DISPATCH_METHOD, {File(L"strip48x16.bmp")}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->AddImage(f.Text(0), f.OutLong()); }},
    {"ReplaceImage", DISPID_RAMVEL_REPLACEIMAGE, DISPATCH_METHOD, {Int(3), File(L"magenta16.bmp")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->ReplaceImage(f.Long(0), f.Text(1)); }},
    {"imageSize", DISPID_RAMVEL_IMAGESIZE, DISPATCH_METHOD, {Int(24), Int(24)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->imageSize(f.Long(0), f.Long(1)); }},
    {"ClearImages", DISPID_RAMVEL_CLEARIMAGES, DISPATCH_METHOD, {}, Out::None,
     [](IRamvel* c, Frame&) { return c->ClearImages(); }},
    {"resetImages", DISPID_RAMVEL_RESETIMAGES, DISPATCH_METHOD, {}, Out::None,
     [](IRamvel* c, Frame&) { return c->resetImages(); }, ShrinkImages},
    {"Images get", DISPID_RAMVEL_IMAGES, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Images(f.OutBool()); }},
    {"Images put false", DISPID_RAMVEL_IMAGES, DISPATCH_PROPERTYPUT, {Flag(false)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Images(f.Bool(0)); }},
    {"ImageList get", DISPID_RAMVEL_IMAGELIST, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_ImageList(f.OutLong()); }},
    {"ImageList put 2", DISPID_RAMVEL_IMAGELIST, DISPATCH_PROPERTYPUT, {Int(2)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_ImageList(f.Long(0)); }},
    // Properties.
    {"Caption put", DISPID_CAPTION, DISPATCH_PROPERTYPUT, {Str(L"A caption")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Caption(f.Text(0)); }},
    {"Caption get", DISPID_CAPTION, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Caption(f.OutText()); },
     [](IRamvel* c) { c->put_Caption(MakeBstr(L"Read back").Get()); }},
    {"FontName put", DISPID_RAMVEL_FONTNAME, DISPATCH_PROPERTYPUT, {Str(L"Courier New")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_FontName(f.Text(0)); }},
    {"FontName get", DISPID_RAMVEL_FONTNAME, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_FontName(f.OutText()); }},
    {"FontSize get", DISPID_RAMVEL_FONTSIZE, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_FontSize(f.OutLong()); }},
    {"FontSize put", DISPID_RAMVEL_FONTSIZE, DISPATCH_PROPERTYPUT, {Int(14)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_FontSize(f.Long(0)); }},
    {"Font put", DISPID_FONT, DISPATCH_PROPERTYPUT, {NewFont()}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Font(f.Font(0)); }},
    {"Font putref", DISPID_FONT, DISPATCH_PROPERTYPUTREF, {NewFont()}, Out::None,
     [](IRamvel* c, Frame& f) { return c->putref_Font(f.FontRef(0)); }},
    {"Font get", DISPID_FONT, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Font(f.OutFont()); }},
    {"HelpFile put", DISPID_RAMVEL_HELPFILE, DISPATCH_PROPERTYPUT, {Str(L"C:\\help\\tree.hlp")}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_HelpFile(f.Text(0)); }},
    {"HelpFile get", DISPID_RAMVEL_HELPFILE, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_HelpFile(f.OutText()); },
     [](IRamvel* c) { c->put_HelpFile(MakeBstr(L"C:\\read\\back.hlp").Get()); }},
    {"Color put", DISPID_BACKCOLOR, DISPATCH_PROPERTYPUT, {Int(0x00336699)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Color(static_cast<OLE_COLOR>(f.Long(0))); }},
    {"Color get", DISPID_BACKCOLOR, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Color(f.OutColour()); }},
    {"Lines put", DISPID_RAMVEL_LINES, DISPATCH_PROPERTYPUT, {Flag(false)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Lines(f.Bool(0)); }},
    {"Cursor get", DISPID_RAMVEL_CURSOR, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_Cursor(f.OutShort()); }},
    {"Cursor put", DISPID_RAMVEL_CURSOR, DISPATCH_PROPERTYPUT, {Int(15000)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_Cursor(static_cast<short>(f.Long(0))); }},
    {"AxBorderStyle get", DISPID_RAMVEL_AXBORDERSTYLE, DISPATCH_PROPERTYGET, {}, Out::Value,
     [](IRamvel* c, Frame& f) { return c->get_AxBorderStyle(f.OutEnum<TxActiveFormBorderStyle>()); }},
    {"AxBorderStyle put", DISPID_RAMVEL_AXBORDERSTYLE, DISPATCH_PROPERTYPUT, {Int(afbSunken)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_AxBorderStyle(static_cast<TxActiveFormBorderStyle>(f.Long(0))); }},
    {"BiDiMode put", DISPID_RAMVEL_BIDIMODE, DISPATCH_PROPERTYPUT, {Int(bdRightToLeft)}, Out::None,
     [](IRamvel* c, Frame& f) { return c->put_BiDiMode(static_cast<TxBiDiMode>(f.Long(0))); }},
};

// Wants every event, as a host does, and answers each at once.
class QuietSink : public EventSinkBase {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return S_OK;
    }
};

using AtlAxAttachControlFn = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

// One control of this program's own server, with an event sink connected; hosted, it is active
// in place in Wine's ATL container, its tree view shown.
struct Rig {
    ComPtr<IRamvel> control;
    ComPtr<IConnectionPoint> events;
    QuietSink sink;
    DWORD cookie = 0;
    HWND site = nullptr;
    ComPtr<IUnknown> hostObject;  // the container's site object around the control

    explicit Rig(Container* container) {
        ramvel::server::ClassObject()->CreateInstance(nullptr, IID_IRamvel, reinterpret_cast<void**>(control.Put()));
        if (!control) winecheck::Abort("the class object made no control");
        auto points = ramvel::server::QueryAs<IConnectionPointContainer>(control.Get());
        if (!points || points->FindConnectionPoint(DIID_IRamvelEvents, events.Put()) != S_OK ||
            events->Advise(&sink, &cookie) != S_OK)
            winecheck::Abort("the control takes no event sink");
        if (container) Host(*container);
    }
    ~Rig() {
        events->Unadvise(cookie);
        events.Reset();
        if (site) DestroyWindow(site);
        Pump();
        hostObject.Reset();
        control.Reset();
    }

private:
    void Host(Container& container) {
        const auto attach = reinterpret_cast<AtlAxAttachControlFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"atl.dll"), "AtlAxAttachControl")));
        site = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, container.frame, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        if (!attach || !site || FAILED(attach(control.Get(), site, hostObject.Put())))
            winecheck::Abort("the container does not take the control");
        Pump();
        auto inPlace = ramvel::server::QueryAs<IOleInPlaceObject>(control.Get());
        HWND form = nullptr;
        if (!inPlace || inPlace->GetWindow(&form) != S_OK || !IsWindowVisible(form) ||
            !IsWindowVisible(FindWindowExW(form, nullptr, WC_TREEVIEWW, nullptr)))
            winecheck::Abort("the control is not active in place with its tree view shown");
    }
};

// The state every run of a case starts from: the standard images shown, the case's tree built
// and redrawn at once, nothing selected; then the case's own set-up.
void Restart(Rig& rig, const MemberCase& c) {
    IRamvel* control = rig.control.Get();
    control->Clear();
    control->put_TreeRefresh(VARIANT_TRUE);
    control->imageSize(16, 16);
    control->ClearImages();
    control->resetImages();
    control->put_ImageList(1);
    control->put_Images(VARIANT_TRUE);
    control->AddNodes(MakeBstr(c.tree).Get());
    if (c.setUp) c.setUp(control);
}

VARIANT VariantOf(const Arg& arg, IRamvel* control, Frame& frame) {
    VARIANT v;
    VariantInit(&v);
    switch (arg.kind) {
    case Arg::Long:
    case Arg::HandleAt:
        V_VT(&v) = VT_I4;
        V_I4(&v) = arg.kind == Arg::Long ? arg.value : HandleAtIndex(control, arg.value);
        break;
    case Arg::Text:
    case Arg::Picture:
        frame.texts.push_back(MakeBstr(arg.text));
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = frame.texts.back().Get();
        break;
    case Arg::Bool:
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = static_cast<VARIANT_BOOL>(arg.value);
        break;
    case Arg::Font: {
        FONTDESC description{sizeof description, const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_BOLD,
                             DEFAULT_CHARSET, FALSE, FALSE, FALSE};
        ComPtr<IFontDisp> font;
        if (FAILED(OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(font.Put()))))
            winecheck::Abort("no OLE font object");
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = font.Get();
        frame.fonts.push_back(std::move(font));
        break;
    }
    }
    return v;
}

void Prepare(const MemberCase& c, IRamvel* control, Frame& frame) {
    for (const Arg& arg : c.args) frame.args.push_back(VariantOf(arg, control, frame));
    frame.reversed.assign(frame.args.rbegin(), frame.args.rend());
    frame.params = {frame.reversed.data(), nullptr, static_cast<UINT>(frame.reversed.size()), 0};
    if (c.kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        frame.params.rgdispidNamedArgs = &frame.putName;
        frame.params.cNamedArgs = 1;
    }
}

enum class Route { VTable, Invoke };

HRESULT Call(const MemberCase& c, IRamvel* control, Frame& frame, Route route) {
    if (route == Route::VTable) return c.early(control, frame);
    UINT argErr = 0;
    return control->Invoke(c.id, IID_NULL, LOCALE_USER_DEFAULT, c.kind, &frame.params,
                           (c.kind & DISPATCH_PROPERTYGET) || c.out != Out::None ? &frame.out : nullptr, &frame.excep,
                           &argErr);
}

// A node info text with its handle masked: a rebuilt tree gives its nodes new handles.
std::wstring WithoutHandle(const std::wstring& text) {
    const auto parts = Split(text, L'\x01');
    if (parts.size() < 3) return text;
    return parts[0] + L"\x01#\x01" + parts[2];
}

std::wstring ReadOut(const MemberCase& c, IRamvel* control, const VARIANT& out) {
    if (c.out == Out::None) return {};
    if (V_VT(&out) == VT_DISPATCH) {
        auto font = ramvel::server::QueryAs<IFont>(V_DISPATCH(&out));
        Bstr name;
        if (!font || FAILED(font->get_Name(name.Put()))) return L"<not a font>";
        return L"font " + Text(name.Get());
    }
    if (V_VT(&out) == VT_BSTR) return WithoutHandle(Text(V_BSTR(&out)));
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&out), 0, VT_I4))) return L"<not a number>";
    if (c.out == Out::Value) return std::to_wstring(V_I4(&number));
    BSTR info = nullptr;
    if (V_I4(&number) != 0 && FAILED(control->GethNode(V_I4(&number), &info))) return L"<no such node>";
    return L"node " + std::to_wstring(V_I4(&number) == 0 ? -1 : std::stol(Split(Take(info), L'\x01')[0]));
}

// What the host sees after the call: its result, every node (handles masked) and the selection.
std::wstring Outcome(const MemberCase& c, IRamvel* control, const VARIANT& out) {
    std::wstring seen = ReadOut(c, control, out) + L"\n";
    LONG count = 0;
    control->ChildrenNumber(0, &count);
    for (LONG i = 0; i < count; ++i) {
        BSTR info = nullptr;
        control->GetNode(i, &info);
        seen += WithoutHandle(Take(info)) + L"\n";
    }
    BSTR selected = nullptr;
    control->GetSelectedNode(&selected);
    return seen + L"selected " + WithoutHandle(Take(selected));
}

struct Walked {
    LONG handle, parent, level, children, lastChild;
};

// Pre-order by the links alone: the first root (the node at index 0), first child, next sibling.
// Stops past `most` nodes, so that a loop of links shows as a wrong count.
bool Walk(IRamvel* control, LONG first, LONG parent, LONG level, size_t most, std::vector<Walked>& nodes) {
    for (LONG node = first; node != 0;) {
        if (nodes.size() > most) return false;
        const size_t at = nodes.size();
        nodes.push_back({node, parent, level, 0, 0});
        LONG child = 0, next = 0;
        if (!EXPECT_HR(control->FirstChild(node, &child), S_OK)) return false;
        if (!Walk(control, child, node, level + 1, most, nodes)) return false;
        for (size_t k = at + 1; k < nodes.size(); ++k) {
            if (nodes[k].parent != node) continue;
            ++nodes[at].children;
            nodes[at].lastChild = nodes[k].handle;
        }
        if (!EXPECT_HR(control->NextSibling(node, &next), S_OK)) return false;
        node = next;
    }
    return true;
}

// The node count, the node at every index and every node's own answers agree with the walk.
void ExpectTreeAgreesWithWalk(IRamvel* control) {
    LONG count = -1;
    ASSERT_HR(control->ChildrenNumber(0, &count), S_OK);
    std::vector<Walked> walked;
    if (count > 0) {
        BSTR first = nullptr;
        ASSERT_HR(control->GetNode(0, &first), S_OK);
        Walk(control, HandleOf(Take(first)), 0, 0, static_cast<size_t>(count), walked);
    }
    ASSERT_EQ(walked.size(), static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
        const Walked& node = walked[i];
        SCOPED_TRACE("node at index " + std::to_string(i));
        BSTR byIndex = nullptr, byHandle = nullptr, parent = nullptr;
        ASSERT_HR(control->GetNode(i, &byIndex), S_OK);
        ASSERT_HR(control->GethNode(node.handle, &byHandle), S_OK);
        ASSERT_HR(control->getParent(node.handle, &parent), S_OK);
        const std::wstring info = Take(byIndex);
        EXPECT_EQ(Take(byHandle), info);
        const auto parts = Split(info, L'\x01');
        ASSERT_EQ(parts.size(), 3u);
        EXPECT_EQ(parts[0], std::to_wstring(i));
        EXPECT_EQ(HandleOf(info), node.handle);
        EXPECT_EQ(Split(parts[2], L'\t')[0], std::to_wstring(node.level));
        EXPECT_EQ(HandleOf(Take(parent)), node.parent);
        LONG children = -1, last = -1;
        EXPECT_HR(control->ChildrenNumber(node.handle, &children), S_OK);
        EXPECT_EQ(children, node.children);
        EXPECT_HR(control->LastChild(node.handle, &last), S_OK);
        EXPECT_EQ(last, node.lastChild);
    }
}

// A failed allocation may end the call with E_OUTOFMEMORY (Invoke: DISP_E_EXCEPTION carrying
// it), or the call may get by without that memory and give the result it gives with memory
// to spare.
void ExpectFailureOrFullResult(HRESULT hr, const Frame& frame, Route route, const std::wstring& outcome,
                               const std::wstring& expected) {
    if (hr == S_OK) {
        EXPECT_EQ(outcome, expected);
        return;
    }
    if (route == Route::Invoke && hr == DISP_E_EXCEPTION) {
        EXPECT_HR(frame.excep.scode, E_OUTOFMEMORY);
        return;
    }
    EXPECT_HR(hr, E_OUTOFMEMORY);
}

// How the failed allocations of one case ended, printed as the case's line of the log.
struct Tally {
    int outOfMemory = 0, ranThrough = 0;

    void Print(const char* name) const {
        std::printf("%-40s %4d failed allocations: %4d out of memory, %4d got by\n", name, outOfMemory + ranThrough,
                    outOfMemory, ranThrough);
    }
};

// Runs the case with the 1st, 2nd... allocation failing until the call runs through.
void RunCase(const MemberCase& c, Route route, Container* container, Tally& tally) {
    // The result with memory to spare comes from a control of its own: a run through leaves
    // room behind (a longer text's buffer...) that would spare later runs their allocations.
    std::wstring expected;
    {
        Rig rig(container);
        Frame reference;
        Restart(rig, c);
        Prepare(c, rig.control.Get(), reference);
        ASSERT_HR(Call(c, rig.control.Get(), reference, route), S_OK);
        expected = Outcome(c, rig.control.Get(), reference.out);
    }
    Rig rig(container);

    const int failuresBefore = winecheck::Current().failures;
    for (std::size_t n = 1;; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        ASSERT_TRUE(n <= kMostAllocations);  // else the call never runs through
        Restart(rig, c);
        Frame frame;
        Prepare(c, rig.control.Get(), frame);

        g_failing = n;
        FailAllocationNumber(n);
        const HRESULT hr = Call(c, rig.control.Get(), frame, route);
        const bool failed = DisarmAllocationFailure();

        ExpectTreeAgreesWithWalk(rig.control.Get());
        const std::wstring outcome = SUCCEEDED(hr) ? Outcome(c, rig.control.Get(), frame.out) : std::wstring();
        if (!failed) {
            EXPECT_HR(hr, S_OK);
            EXPECT_EQ(outcome, expected);
            return;
        }
        ExpectFailureOrFullResult(hr, frame, route, outcome, expected);
        ++(hr == S_OK ? tally.ranThrough : tally.outOfMemory);
        if (winecheck::Current().failures != failuresBefore) return;  // one allocation's report is enough
    }
}

// The class object building a control with the 1st, 2nd... allocation failing: a failed build
// answers E_UNEXPECTED after its "Erreur DAX" box and leaves nothing behind; the build that runs
// through gives a control that works.
void CreateUnderFailures(Tally& tally) {
    for (std::size_t n = 1;; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        ASSERT_TRUE(n <= kMostAllocations);
        g_failing = n;
        ComPtr<IRamvel> control;
        FailAllocationNumber(n);
        const HRESULT hr = ramvel::server::ClassObject()->CreateInstance(nullptr, IID_IRamvel,
                                                                         reinterpret_cast<void**>(control.Put()));
        const bool failed = DisarmAllocationFailure();
        if (hr == S_OK) {
            EXPECT_HR(control->AddNodes(MakeBstr(kTree).Get()), S_OK);
            ExpectTreeAgreesWithWalk(control.Get());
        } else {
            EXPECT_TRUE(failed);
            EXPECT_HR(hr, E_UNEXPECTED);
            EXPECT_TRUE(control.Get() == nullptr);
        }
        control.Reset();
        EXPECT_TRUE(ramvel::server::CanUnload());  // no object is left counted
        if (!failed) return;
        ++(hr == S_OK ? tally.ranThrough : tally.outOfMemory);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) winecheck::Abort("usage: ComOutOfMemoryTest.exe IMAGES_FOLDER");
    // Pictures are named without their folder: a file's kind is read from the first dot of the
    // whole path, and the checkout's folder may hold one.
    if (!SetCurrentDirectoryA(argv[1])) winecheck::Abort(std::string("cannot enter ") + argv[1]);

    Apartment apartment;
    std::set_terminate(ReportEscape);
    // The server is part of this program: its type library and pictures are this program's.
    ramvel::server::SetModuleHandle(GetModuleHandleW(nullptr));
    treetest::Watchdog watchdog(100000);
    // A handler that runs out of memory reports it in a box; the watcher closes each.
    treetest::BoxWatcher boxes;

    // Alone, the control keeps its form hidden; hosted, its tree view shows the nodes. Both
    // routes reach the same member bodies, so the hosted round takes the vtable route only.
    Container container;
    struct Pass {
        const char* name;
        Route route;
        Container* container;
    } passes[] = {
        {"vtable calls", Route::VTable, nullptr},
        {"IDispatch::Invoke calls", Route::Invoke, nullptr},
        {"vtable calls, hosted", Route::VTable, &container},
    };
    for (const Pass& pass : passes) {
        RAMVEL_CASE(pass.name) {
            std::printf("%s\n", pass.name);
            for (const MemberCase& c : kCases) {
                SCOPED_TRACE(c.name);
                g_case = c.name;
                Tally tally;
                RunCase(c, pass.route, pass.container, tally);
                tally.Print(c.name);
            }
        }
    }
    RAMVEL_CASE("building a control") {
        g_case = "building a control";
        Tally tally;
        CreateUnderFailures(tally);
        tally.Print(g_case);
    }
    const std::vector<treetest::BoxSeen> seen = boxes.Take();
    std::printf("%zu boxes closed\n", seen.size());
    for (const treetest::BoxSeen& box : seen) {
        SCOPED_TRACE("a box: " + box.caption + ": " + box.text);
        EXPECT_EQ(box.text, "Out of memory.");
    }
    return winecheck::Report();
}
