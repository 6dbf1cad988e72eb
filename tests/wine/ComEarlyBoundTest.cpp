// An early-bound C++ host: IRamvel by vtable slot, error objects, the wrapper's interfaces and
// the module's unload answer.
#include <objsafe.h>
#include <ocidl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>

#include "ComTestSupport.h"

using namespace comtest;

namespace {

// Script engines ask for it; the control must not answer (the import libraries lack its IID).
const IID kIID_IDispatchEx = {0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};

const std::vector<std::wstring> kLines = {
    L"0\tCustomers\t0,1",
    L"1\tSmith\t4\t\t\tC042",
    L"1\tJones\t4,5\t6\t2",
    L"2\tOrder1",
    L"0\tSuppliers\t7\t\t\tS1",
};

ComPtr<IRamvel> NewControl() {
    ComPtr<IRamvel> control;
    HRESULT hr = CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IRamvel,
                                  reinterpret_cast<void**>(control.Put()));
    if (FAILED(hr)) winecheck::Abort("CoCreateInstance(CLSID_Ramvel) failed: " + winecheck::DescribeHr(hr));
    return control;
}

void WalkTree(IRamvel* control) {
    ExpectedTree tree(kLines);
    ASSERT_TRUE(Build(control, tree));
    const LONG count = static_cast<LONG>(tree.nodes.size());

    LONG total = -1;
    EXPECT_HR(control->ChildrenNumber(0, &total), S_OK);
    EXPECT_EQ(total, count);
    EXPECT_HR(control->ChildrenNumber(-5, &total), S_OK);
    EXPECT_EQ(total, count);

    for (int i = 0; i < count; ++i) {
        const ExpectedNode& node = tree.nodes[i];
        SCOPED_TRACE(L"node " + std::to_wstring(i) + L": " + node.line);
        EXPECT_TRUE(node.handle > 0);
        struct TextCall {
            const char* member;
            std::function<HRESULT(BSTR*)> call;
            std::wstring expected;
        } textCalls[] = {
            {"GetNode", [&](BSTR* v) { return control->GetNode(i, v); }, tree.Info(i)},
            {"GethNode", [&](BSTR* v) { return control->GethNode(node.handle, v); }, tree.Info(i)},
            {"getParent", [&](BSTR* v) { return control->getParent(node.handle, v); }, tree.ParentInfo(i)},
        };
        for (auto& c : textCalls) {
            SCOPED_TRACE(c.member);
            BSTR value = nullptr;
            EXPECT_HR(c.call(&value), S_OK);
            EXPECT_EQ(Take(value), c.expected);
        }
        struct LongCall {
            const char* member;
            std::function<HRESULT(LONG*)> call;
            LONG expected;
        } longCalls[] = {
            {"FirstChild", [&](LONG* v) { return control->FirstChild(node.handle, v); }, tree.FirstChild(i)},
            {"LastChild", [&](LONG* v) { return control->LastChild(node.handle, v); }, tree.LastChild(i)},
            {"NextSibling", [&](LONG* v) { return control->NextSibling(node.handle, v); }, tree.NextSibling(i)},
            {"ChildrenNumber", [&](LONG* v) { return control->ChildrenNumber(node.handle, v); },
             static_cast<LONG>(node.children.size())},
        };
        for (auto& c : longCalls) {
            SCOPED_TRACE(c.member);
            LONG value = -12345;
            EXPECT_HR(c.call(&value), S_OK);
            EXPECT_EQ(value, c.expected);
        }
        VARIANT_BOOL expanded = 1;
        EXPECT_HR(control->get_Expanded(node.handle, &expanded), S_OK);
        EXPECT_EQ(expanded, VARIANT_FALSE);
    }

    RAMVEL_CASE("selection by index and by handle") {
        BSTR value = nullptr;
        EXPECT_HR(control->GetSelectedNode(&value), S_OK);
        EXPECT_EQ(Take(value), L"");
        EXPECT_HR(control->GoToNode(3, &value), S_OK);  // under two collapsed ancestors
        EXPECT_EQ(Take(value), tree.Info(3));
        EXPECT_HR(control->GetSelectedNode(&value), S_OK);
        EXPECT_EQ(Take(value), tree.Info(3));
        VARIANT_BOOL expanded = 0;
        EXPECT_HR(control->get_Expanded(tree.nodes[2].handle, &expanded), S_OK);
        EXPECT_EQ(expanded, VARIANT_TRUE);
        EXPECT_HR(control->GotohNode(tree.nodes[4].handle, &value), S_OK);
        EXPECT_EQ(Take(value), tree.Info(4));
        EXPECT_HR(control->GoToNode(count, &value), S_OK);  // past the end: nothing, no failure
        EXPECT_EQ(Take(value), L"");
        EXPECT_HR(control->GetSelectedNode(&value), S_OK);
        EXPECT_EQ(Take(value), tree.Info(4));
    }

    RAMVEL_CASE("Expanded put and get, TreeRefresh bracket") {
        const LONG root = tree.nodes[0].handle;
        VARIANT_BOOL state = 0;
        EXPECT_HR(control->put_Expanded(root, VARIANT_FALSE), S_OK);
        EXPECT_HR(control->get_Expanded(root, &state), S_OK);
        EXPECT_EQ(state, VARIANT_FALSE);
        EXPECT_HR(control->put_Expanded(root, 5), S_OK);  // any non-zero value is true
        EXPECT_HR(control->get_Expanded(root, &state), S_OK);
        EXPECT_EQ(state, VARIANT_TRUE);
        EXPECT_HR(control->put_TreeRefresh(VARIANT_FALSE), S_OK);
        EXPECT_HR(control->get_TreeRefresh(&state), S_OK);
        EXPECT_EQ(state, VARIANT_FALSE);
        EXPECT_HR(control->put_TreeRefresh(VARIANT_TRUE), S_OK);
        EXPECT_HR(control->get_TreeRefresh(&state), S_OK);
        EXPECT_EQ(state, VARIANT_TRUE);
    }

    RAMVEL_CASE("editing: AddAfterNode, ChangeNode, DeleteHNode, Clear") {
        Bstr line = MakeBstr(L"1\tBrown\t4");
        BSTR reply = nullptr;
        EXPECT_HR(control->AddAfterNode(1, line.Get(), &reply), S_OK);  // level 1 = anchor's: a sibling
        std::wstring text = Take(reply);
        LONG added = HandleOf(text);
        EXPECT_EQ(text, L"\x01" + std::to_wstring(added) + L"\x01" L"1\tBrown\t4\t-1\t-1\t");
        LONG last = 0;
        EXPECT_HR(control->LastChild(tree.nodes[0].handle, &last), S_OK);
        EXPECT_EQ(last, added);

        Bstr change = MakeBstr(L"1\tSmythe");
        EXPECT_HR(control->ChangeNode(1, change.Get()), S_OK);
        BSTR info = nullptr;
        EXPECT_HR(control->GetNode(1, &info), S_OK);
        EXPECT_EQ(Take(info), L"1\x01" + std::to_wstring(tree.nodes[1].handle) + L"\x01" L"1\tSmythe\t\t-1\t-1\t");

        LONG before = 0, after = 0;
        EXPECT_HR(control->ChildrenNumber(0, &before), S_OK);
        EXPECT_HR(control->DeleteHNode(tree.nodes[2].handle), S_OK);  // Jones and Order1
        EXPECT_HR(control->ChildrenNumber(0, &after), S_OK);
        EXPECT_EQ(after, before - 2);
        EXPECT_HR(control->DeleteNode(0), S_OK);
        EXPECT_HR(control->ChildrenNumber(0, &after), S_OK);
        EXPECT_EQ(after, 1);
        EXPECT_HR(control->Clear(), S_OK);
        EXPECT_HR(control->ChildrenNumber(0, &after), S_OK);
        EXPECT_EQ(after, 0);
    }
}

void Errors(IRamvel* control) {
    ExpectedTree tree(kLines);
    ASSERT_TRUE(Build(control, tree));
    struct {
        const char* name;
        std::function<HRESULT(BSTR*)> call;
        std::wstring description;
    } cases[] = {
        {"GetNode(5)", [&](BSTR* v) { return control->GetNode(5, v); }, L"Index incorrect"},
        {"GoToNode(-1)", [&](BSTR* v) { return control->GoToNode(-1, v); }, L"Index incorrect"},
        {"ChangeNode(5)",
         [&](BSTR*) {
             Bstr parm = MakeBstr(L"0\tX");
             return control->ChangeNode(5, parm.Get());
         },
         L"Index incorrect"},
        // Each failing line below stays added up to its failing field: keep these last.
        {"AddNodes bad level",
         [&](BSTR*) {
             Bstr parm = MakeBstr(L"x\tBad");
             return control->AddNodes(parm.Get());
         },
         L"'x' n'est pas une valeur enti\u00e8re correcte"},
        {"AddNodes bad image",
         [&](BSTR*) {
             Bstr parm = MakeBstr(L"0\tRoot\t7 ");
             return control->AddNodes(parm.Get());
         },
         L"'7 ' n'est pas une valeur enti\u00e8re correcte"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetErrorInfo(0, nullptr);
        BSTR garbage = SysAllocString(L"garbage");
        BSTR value = garbage;  // an out BSTR carries nothing in: the member must overwrite it
        EXPECT_HR(c.call(&value), E_UNEXPECTED);
        if (value != garbage) EXPECT_EQ(Take(value), L"");
        SysFreeString(garbage);
        ErrorObject error = TakeErrorInfo();
        EXPECT_TRUE(error.present);
        EXPECT_EQ(error.source, L"RamvelProj1.Ramvel");
        EXPECT_EQ(error.description, c.description);
        EXPECT_EQ(error.guid, IID_IRamvel);
    }
    // A failed batch may leave the busy flag set and the update open: close the bracket.
    control->put_TreeRefresh(VARIANT_TRUE);
}

// The form's font takes font objects only; anything else fails before the font changes.
void FontObjects(IRamvel* control) {
    ComPtr<IFontDisp> font;
    EXPECT_HR(control->get_Font(font.Put()), S_OK);
    EXPECT_TRUE(font.Get() != nullptr);
    SetErrorInfo(0, nullptr);
    EXPECT_HR(control->put_Font(reinterpret_cast<IFontDisp*>(static_cast<IDispatch*>(control))), E_NOINTERFACE);
    ErrorObject error = TakeErrorInfo();
    EXPECT_EQ(error.description, L"Interface non support\u00e9e");
    EXPECT_HR(control->putref_Font(nullptr), E_POINTER);
    ComPtr<IFontDisp> again;
    EXPECT_HR(control->get_Font(again.Put()), S_OK);
    EXPECT_TRUE(again.Get() == font.Get());  // still bound to the same object
}

// IQuickActivate takes the structures of older containers: it writes no byte of QACONTROL past
// the cbSize the container gave, and reads only the leading fields of QACONTAINER.
void QuickActivateSizes() {
    struct {
        const char* name;
        ULONG containerSize;
        ULONG controlSize;
        HRESULT expected;
    } cases[] = {
        {"today's structures", sizeof(QACONTAINER), sizeof(QACONTROL), S_OK},
        {"a container from before pointer activation", offsetof(QACONTAINER, pBindHost),
         offsetof(QACONTROL, dwPointerActivationPolicy), S_OK},
        {"only the control's size and status", sizeof(QACONTAINER), offsetof(QACONTROL, dwViewStatus), S_OK},
        {"a container too short for its sinks", offsetof(QACONTAINER, pUnkEventSink), sizeof(QACONTROL), E_INVALIDARG},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IRamvel> control = NewControl();
        auto quick = ramvel::server::QueryAs<IQuickActivate>(control.Get());
        ASSERT_TRUE(quick);
        QACONTAINER container{};
        container.cbSize = c.containerSize;
        unsigned char buffer[64];
        std::memset(buffer, 0xCC, sizeof buffer);
        auto* answer = reinterpret_cast<QACONTROL*>(buffer);
        answer->cbSize = c.controlSize;
        EXPECT_HR(quick->QuickActivate(&container, answer), c.expected);
        EXPECT_EQ(answer->cbSize, c.controlSize);
        bool untouched = true;
        for (std::size_t at = std::max<std::size_t>(c.controlSize, sizeof(ULONG)); at < sizeof buffer; ++at)
            untouched = untouched && buffer[at] == 0xCC;
        EXPECT_TRUE(untouched);
        if (c.expected == S_OK && c.controlSize > offsetof(QACONTROL, dwMiscStatus))
            EXPECT_TRUE(answer->dwMiscStatus != 0 && answer->dwMiscStatus != 0xCCCCCCCC);
    }

    RAMVEL_CASE("a failure without an error object of its own clears a stale one") {
        ComPtr<IRamvel> control = NewControl();
        BSTR none = nullptr;
        EXPECT_HR(control->GetNode(99, &none), E_UNEXPECTED);  // leaves "Index incorrect" behind
        auto quick = ramvel::server::QueryAs<IQuickActivate>(control.Get());
        EXPECT_HR(quick->QuickActivate(nullptr, nullptr), E_INVALIDARG);
        EXPECT_FALSE(TakeErrorInfo().present);
    }
}

void WrapperInterfaces(IRamvel* control) {
    RAMVEL_CASE("QueryInterface") {
        struct {
            const char* name;
            const IID& iid;
            HRESULT expected;
        } cases[] = {
            {"IDispatch", IID_IDispatch, S_OK},
            {"ISupportErrorInfo", IID_ISupportErrorInfo, S_OK},
            {"IProvideClassInfo", IID_IProvideClassInfo, S_OK},
            {"IOleObject", IID_IOleObject, S_OK},
            {"IOleControl", IID_IOleControl, S_OK},
            {"IOleInPlaceObject", IID_IOleInPlaceObject, S_OK},
            {"IOleInPlaceActiveObject", IID_IOleInPlaceActiveObject, S_OK},
            {"IViewObject", IID_IViewObject, S_OK},
            {"IViewObject2", IID_IViewObject2, S_OK},
            {"IDataObject", IID_IDataObject, S_OK},
            {"IPersistStreamInit", IID_IPersistStreamInit, S_OK},
            {"IPersistStorage", IID_IPersistStorage, S_OK},
            {"IPersistPropertyBag", IID_IPersistPropertyBag, S_OK},
            {"ISpecifyPropertyPages", IID_ISpecifyPropertyPages, S_OK},
            {"IPerPropertyBrowsing", IID_IPerPropertyBrowsing, S_OK},
            {"ISimpleFrameSite", IID_ISimpleFrameSite, S_OK},
            {"IQuickActivate", IID_IQuickActivate, S_OK},
            {"IObjectSafety", IID_IObjectSafety, S_OK},
            {"IConnectionPointContainer", IID_IConnectionPointContainer, S_OK},
            {"IDispatchEx", kIID_IDispatchEx, E_NOINTERFACE},
            {"IRamvelEvents", DIID_IRamvelEvents, E_NOINTERFACE},
        };
        ComPtr<IUnknown> identity = ramvel::server::QueryAs<IUnknown>(control);
        for (auto& c : cases) {
            SCOPED_TRACE(c.name);
            ComPtr<IUnknown> p;
            EXPECT_HR(control->QueryInterface(c.iid, reinterpret_cast<void**>(p.Put())), c.expected);
            if (p) EXPECT_TRUE(ramvel::server::QueryAs<IUnknown>(p.Get()).Get() == identity.Get());
        }
    }
    RAMVEL_CASE("ISupportErrorInfo") {
        auto support = ramvel::server::QueryAs<ISupportErrorInfo>(control);
        ASSERT_TRUE(support);
        EXPECT_HR(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
        EXPECT_HR(support->InterfaceSupportsErrorInfo(IID_IRamvel), S_FALSE);
    }
    RAMVEL_CASE("IProvideClassInfo") {
        auto provide = ramvel::server::QueryAs<IProvideClassInfo>(control);
        ComPtr<ITypeInfo> info;
        EXPECT_HR(provide->GetClassInfo(info.Put()), S_OK);
        TYPEATTR* attr = nullptr;
        if (info && SUCCEEDED(info->GetTypeAttr(&attr))) {
            EXPECT_EQ(attr->guid, CLSID_Ramvel);
            EXPECT_EQ(attr->typekind, TKIND_COCLASS);
            info->ReleaseTypeAttr(attr);
        }
    }
    RAMVEL_CASE("IOleObject: misc status, verbs, user class") {
        auto object = ramvel::server::QueryAs<IOleObject>(control);
        DWORD status = 0;
        EXPECT_HR(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
        EXPECT_EQ(status, 0x32191u);
        CLSID clsid{};
        EXPECT_HR(object->GetUserClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, CLSID_Ramvel);
        ComPtr<IEnumOLEVERB> verbs;
        EXPECT_HR(object->EnumVerbs(verbs.Put()), S_OK);
        std::vector<std::wstring> names;
        OLEVERB verb{};
        ULONG fetched = 0;
        while (verbs && verbs->Next(1, &verb, &fetched) == S_OK) {
            names.push_back(std::to_wstring(verb.lVerb) + L":" + verb.lpszVerbName);
            CoTaskMemFree(verb.lpszVerbName);
        }
        EXPECT_EQ(names, std::vector<std::wstring>{L"0:Propri\u00e9t\u00e9s"});
    }
    RAMVEL_CASE("IObjectSafety") {
        auto safety = ramvel::server::QueryAs<IObjectSafety>(control, IID_IObjectSafety);
        DWORD supported = 0, enabled = 9;
        EXPECT_HR(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
        EXPECT_EQ(supported, 3u);
        EXPECT_EQ(enabled, 0u);
        EXPECT_HR(safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, INTERFACESAFE_FOR_UNTRUSTED_CALLER), S_OK);
        EXPECT_HR(safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled), S_OK);
        EXPECT_EQ(enabled, static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_CALLER));
        EXPECT_HR(safety->GetInterfaceSafetyOptions(kIID_IDispatchEx, &supported, &enabled), E_NOINTERFACE);
    }
    RAMVEL_CASE("persistence and property pages") {
        auto stream = ramvel::server::QueryAs<IPersistStreamInit>(control);
        EXPECT_HR(stream->InitNew(), S_OK);
        CLSID clsid{};
        EXPECT_HR(stream->GetClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, CLSID_Ramvel);
        auto pages = ramvel::server::QueryAs<ISpecifyPropertyPages>(control);
        CAUUID list{5, nullptr};
        EXPECT_HR(pages->GetPages(&list), S_OK);
        EXPECT_EQ(list.cElems, 0u);
    }
}

// LoadLibrary, DllGetClassObject and CreateInstance by hand: the module may be unloaded again
// once every object it made is gone.
void UnloadAnswer() {
    HMODULE module = LoadLibraryW(winecheck::ModulePath().c_str());
    ASSERT_TRUE(module);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto canUnload = reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    auto getClassObject = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_TRUE(canUnload && getClassObject);
    EXPECT_HR(canUnload(), S_OK);
    ComPtr<IClassFactory> factory;
    EXPECT_HR(getClassObject(CLSID_Ramvel, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
    ASSERT_TRUE(factory);
    ComPtr<IRamvel> control;
    EXPECT_HR(factory->CreateInstance(nullptr, IID_IRamvel, reinterpret_cast<void**>(control.Put())), S_OK);
    factory.Reset();
    EXPECT_HR(canUnload(), S_FALSE);  // the control lives
    if (control) {
        Bstr parm = MakeBstr(L"0\tA\n1\tB");
        EXPECT_HR(control->AddNodes(parm.Get()), S_OK);
        ComPtr<IConnectionPoint> point;
        auto container = ramvel::server::QueryAs<IConnectionPointContainer>(control.Get());
        EXPECT_HR(container->FindConnectionPoint(DIID_IRamvelEvents, point.Put()), S_OK);
        container.Reset();
        control.Reset();
        EXPECT_HR(canUnload(), S_FALSE);  // the connection point holds the object
        point.Reset();
    }
    EXPECT_HR(canUnload(), S_OK);
    FreeLibrary(module);
}

}  // namespace

int main() {
    Apartment apartment;
    RAMVEL_CASE("build and walk a tree by slot") { WalkTree(NewControl().Get()); }
    RAMVEL_CASE("failures: E_UNEXPECTED with an error object") { Errors(NewControl().Get()); }
    RAMVEL_CASE("the form's font takes font objects only") { FontObjects(NewControl().Get()); }
    RAMVEL_CASE("the control wrapper's interfaces") { WrapperInterfaces(NewControl().Get()); }
    RAMVEL_CASE("IQuickActivate with older containers' structures") { QuickActivateSizes(); }
    RAMVEL_CASE("DllCanUnloadNow") { UnloadAnswer(); }
    return winecheck::Report();
}
