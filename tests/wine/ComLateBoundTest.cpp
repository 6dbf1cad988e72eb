// A late-bound host: names to DISPIDs in any letter case, Invoke by DISPID and kind, and
// failures as DISP_E_EXCEPTION with the error object's source and description.
#include <olectl.h>

#include "ComTestSupport.h"

using namespace comtest;

namespace {

// One Invoke with positional arguments given first to last; the result comes back in `result`.
struct Call {
    HRESULT hr = E_FAIL;
    VARIANT result{};
    EXCEPINFO excep{};
    ~Call() {
        VariantClear(&result);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
    }
};

void Invoke(IDispatch* dispatch, DISPID id, WORD kind, std::vector<VARIANT> args, Call& call) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VariantInit(&call.result);
    UINT argErr = 0;
    call.hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, &call.result, &call.excep, &argErr);
}

VARIANT Long(LONG value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}
VARIANT Bool(bool value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
// A BSTR argument owned by `keep`, which must outlive the call.
// A borrowed object: the caller keeps it alive for the call.
VARIANT Object(IDispatch* value) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = value;
    return v;
}

VARIANT Text(const std::wstring& value, std::vector<Bstr>& keep) {
    keep.push_back(MakeBstr(value));
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = keep.back().Get();
    return v;
}

DISPID IdOf(IDispatch* dispatch, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

std::wstring ResultText(const Call& call) {
    return V_VT(&call.result) == VT_BSTR ? comtest::Text(V_BSTR(&call.result)) : L"<not a BSTR>";
}

}  // namespace

int main() {
    Apartment apartment;
    ComPtr<IDispatch> dispatch;
    HRESULT hr = CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(dispatch.Put()));
    if (FAILED(hr)) winecheck::Abort("CoCreateInstance(IDispatch) failed: " + winecheck::DescribeHr(hr));

    RAMVEL_CASE("type information") {
        UINT count = 0;
        EXPECT_HR(dispatch->GetTypeInfoCount(&count), S_OK);
        EXPECT_EQ(count, 1u);
        ComPtr<ITypeInfo> info;
        EXPECT_HR(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()), S_OK);
        TYPEATTR* attr = nullptr;
        if (info && SUCCEEDED(info->GetTypeAttr(&attr))) {
            EXPECT_EQ(attr->guid, IID_IRamvel);
            info->ReleaseTypeAttr(attr);
        }
        EXPECT_HR(dispatch->GetTypeInfo(1, LOCALE_USER_DEFAULT, info.Put()), DISP_E_BADINDEX);
    }

    RAMVEL_CASE("names in any letter case") {
        struct {
            const wchar_t* name;
            DISPID expected;
        } cases[] = {
            {L"AddNodes", 16},      {L"addnodes", 16}, {L"GOTONODE", 17},      {L"gotohnode", 19},
            {L"CHILDRENNUMBER", 28}, {L"expanded", 38}, {L"Lines", 31},        {L"getparent", 41},
            {L"STOREHNODE", 44},    {L"aboutbox", -552}, {L"caption", -518},
        };
        for (auto& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(IdOf(dispatch.Get(), c.name), c.expected);
        }
        DISPID id = 0;
        LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
        EXPECT_HR(dispatch->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    }

    const DISPID addNodes = IdOf(dispatch.Get(), L"addnodes");
    const DISPID getNode = IdOf(dispatch.Get(), L"getnode");
    const DISPID childrenNumber = IdOf(dispatch.Get(), L"childrennumber");
    const DISPID expanded = IdOf(dispatch.Get(), L"Expanded");
    const DISPID goToNode = IdOf(dispatch.Get(), L"GOTONODE");

    ExpectedTree tree({L"0\tRoot\t0,1", L"1\tLeaf\t2\t3\t4\tdata", L"0\tOther"});
    std::vector<Bstr> keep;
    RAMVEL_CASE("methods by DISPID") {
        Call add;
        Invoke(dispatch.Get(), addNodes, DISPATCH_METHOD, {Text(tree.NodeParm(), keep)}, add);
        EXPECT_HR(add.hr, S_OK);
        for (size_t i = 0; i < tree.nodes.size(); ++i) {
            Call get;
            Invoke(dispatch.Get(), getNode, DISPATCH_METHOD, {Long(static_cast<LONG>(i))}, get);
            EXPECT_HR(get.hr, S_OK);
            tree.nodes[i].handle = HandleOf(ResultText(get));
            EXPECT_EQ(ResultText(get), tree.Info(static_cast<int>(i)));
        }
        Call count;
        Invoke(dispatch.Get(), childrenNumber, DISPATCH_METHOD, {Text(L"0", keep)}, count);  // converted to long
        EXPECT_HR(count.hr, S_OK);
        EXPECT_EQ(V_VT(&count.result), VT_I4);
        EXPECT_EQ(V_I4(&count.result), static_cast<LONG>(tree.nodes.size()));
        Call go;
        Invoke(dispatch.Get(), goToNode, DISPATCH_METHOD, {Long(1)}, go);
        EXPECT_HR(go.hr, S_OK);
        EXPECT_EQ(ResultText(go), tree.Info(1));
    }

    RAMVEL_CASE("Expanded: a property with an argument") {
        const LONG root = tree.nodes[0].handle;
        struct {
            const char* step;
            WORD kind;
            std::vector<VARIANT> args;
            bool expectedState;
        } steps[] = {
            {"collapse", DISPATCH_PROPERTYPUT, {Long(root), Bool(false)}, false},
            {"expand", DISPATCH_PROPERTYPUT, {Long(root), Bool(true)}, true},
        };
        for (auto& s : steps) {
            SCOPED_TRACE(s.step);
            Call put;
            Invoke(dispatch.Get(), expanded, s.kind, s.args, put);
            EXPECT_HR(put.hr, S_OK);
            Call get;
            Invoke(dispatch.Get(), expanded, DISPATCH_PROPERTYGET, {Long(root)}, get);
            EXPECT_HR(get.hr, S_OK);
            EXPECT_EQ(V_VT(&get.result), VT_BOOL);
            EXPECT_EQ(V_BOOL(&get.result), s.expectedState ? VARIANT_TRUE : VARIANT_FALSE);
        }
    }

    RAMVEL_CASE("members and kinds the table does not list") {
        struct {
            const char* name;
            DISPID id;
            WORD kind;
        } cases[] = {
            {"Lines get", 31, DISPATCH_PROPERTYGET},
            {"Buttons get", 40, DISPATCH_PROPERTYGET},
            {"DISPID 2", 2, DISPATCH_METHOD},
            {"DISPID 999", 999, DISPATCH_METHOD},
        };
        for (auto& c : cases) {
            SCOPED_TRACE(c.name);
            Call call;
            Invoke(dispatch.Get(), c.id, c.kind, {}, call);
            EXPECT_HR(call.hr, DISP_E_MEMBERNOTFOUND);
        }
    }

    RAMVEL_CASE("a font put with an object that is not a font fails") {
        Call call;
        Invoke(dispatch.Get(), DISPID_FONT, DISPATCH_PROPERTYPUT, {Object(dispatch.Get())}, call);  // the control
        EXPECT_HR(call.hr, DISP_E_EXCEPTION);
        EXPECT_HR(call.excep.scode, E_NOINTERFACE);
    }

    RAMVEL_CASE("failures carry source and description") {
        struct {
            const char* name;
            DISPID id;
            WORD kind;
            std::vector<VARIANT> args;
            HRESULT scode;
            std::wstring description;
        } cases[] = {
            {"GetNode(5)", getNode, DISPATCH_METHOD, {Long(5)}, E_UNEXPECTED, L"Index incorrect"},
            {"AddNodes bad level", addNodes, DISPATCH_METHOD, {Text(L"x\tBad", keep)}, E_UNEXPECTED,
             L"'x' n'est pas une valeur enti\u00e8re correcte"},
        };
        for (auto& c : cases) {
            SCOPED_TRACE(c.name);
            Call call;
            Invoke(dispatch.Get(), c.id, c.kind, c.args, call);
            EXPECT_HR(call.hr, DISP_E_EXCEPTION);
            EXPECT_HR(call.excep.scode, c.scode);
            EXPECT_EQ(comtest::Text(call.excep.bstrSource), L"RamvelProj1.Ramvel");
            EXPECT_EQ(comtest::Text(call.excep.bstrDescription), c.description);
        }
    }
    dispatch.Reset();
    return winecheck::Report();
}
