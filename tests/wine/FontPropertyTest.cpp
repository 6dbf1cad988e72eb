// The Font property against the real module: OLE font objects bound to the form's font, put
// by value and by reference, changed afterwards through IFont, unbound; the tree view's font
// is read back after every step, as long as the tree inherits the form's font and after.
#include <functional>

#include "PropertySupport.h"

using namespace comtest;

namespace {

struct FontSeen {
    // The tree view's font.
    std::wstring face;
    LONG height = 0, weight = 0;
    bool italic = false, underline = false, strikeout = false;
    // The tree's font properties.
    std::wstring fontName;
    LONG fontSize = 0;
};

FontSeen Read(HostedControl& r) {
    FontSeen s;
    const LOGFONTW font = TreeFont(r.tree);
    s.face = font.lfFaceName;
    s.height = font.lfHeight;
    s.weight = font.lfWeight;
    s.italic = font.lfItalic;
    s.underline = font.lfUnderline;
    s.strikeout = font.lfStrikeOut;
    BSTR name = nullptr;
    EXPECT_HR(r->get_FontName(&name), S_OK);
    s.fontName = Take(name);
    EXPECT_HR(r->get_FontSize(&s.fontSize), S_OK);
    return s;
}

void ExpectSeen(const FontSeen& actual, const FontSeen& expected) {
    EXPECT_EQ(actual.face, expected.face);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.weight, expected.weight);
    EXPECT_EQ(actual.italic, expected.italic);
    EXPECT_EQ(actual.underline, expected.underline);
    EXPECT_EQ(actual.strikeout, expected.strikeout);
    EXPECT_EQ(actual.fontName, expected.fontName);
    EXPECT_EQ(actual.fontSize, expected.fontSize);
}

// A plain font of `points`, as a host makes one.
ComPtr<IFontDisp> MakeFont(const wchar_t* name, int points) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(name);
    description.cySize.int64 = points * 10000LL;
    description.sWeight = FW_NORMAL;
    description.sCharset = DEFAULT_CHARSET;
    ComPtr<IFontDisp> font;
    if (FAILED(OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(font.Put()))))
        winecheck::Abort("OleCreateFontIndirect failed");
    return font;
}

ComPtr<IFont> FontOf(IUnknown* object) { return ramvel::server::QueryAs<IFont>(object); }
CY Points(int points) {
    CY size;
    size.int64 = points * 10000LL;
    return size;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    auto left = ramvel::server::QueryAs<IUnknown>(a), right = ramvel::server::QueryAs<IUnknown>(b);
    return left && left.Get() == right.Get();
}

HRESULT PutRef(IRamvel* control, IFontDisp* font) { return control->putref_Font(&font); }

void Binding(Container& container) {
    HostedControl r(container);
    const ComPtr<IFontDisp> courier = MakeFont(L"Courier New", 12), tahoma = MakeFont(L"Tahoma", 9);
    ComPtr<IFontDisp> given;  // the object a get returned
    const auto notAFont = reinterpret_cast<IFontDisp*>(static_cast<IDispatch*>(r.control.Get()));
    const auto gotFont = [&](IRamvel* c) {
        ComPtr<IFontDisp> font;
        EXPECT_HR(c->get_Font(font.Put()), S_OK);
        EXPECT_TRUE(font);
        return font;
    };
    struct {
        const char* step;
        std::function<HRESULT(IRamvel*)> act;
        HRESULT hr;
        std::function<void(FontSeen&)> change;  // what the step changes in the tree's font
    } steps[] = {
        {"a new control", [](IRamvel*) { return S_OK; }, S_OK, [](FontSeen&) {}},
        {"reading Font changes nothing",
         [&](IRamvel* c) {
             given = gotFont(c);
             EXPECT_TRUE(SameObject(gotFont(c).Get(), given.Get()));  // the same object while bound
             return S_OK;
         },
         S_OK, [](FontSeen&) {}},
        {"the object Font gave: Size = 10", [&](IRamvel*) { return FontOf(given.Get())->put_Size(Points(10)); },
         S_OK, [](FontSeen& e) { e.height = -13, e.fontSize = 10; }},
        {"Font put by reference: Courier New 12", [&](IRamvel* c) { return PutRef(c, courier.Get()); }, S_OK,
         [](FontSeen& e) { e.face = e.fontName = L"Courier New", e.height = -16, e.fontSize = 12; }},
        {"Font now gives the object put",
         [&](IRamvel* c) {
             EXPECT_TRUE(SameObject(gotFont(c).Get(), courier.Get()));
             return S_OK;
         },
         S_OK, [](FontSeen&) {}},
        {"the object given before no longer flows in: Size = 20",
         [&](IRamvel*) { return FontOf(given.Get())->put_Size(Points(20)); }, S_OK, [](FontSeen&) {}},
        {"the bound object: Size = 14", [&](IRamvel*) { return FontOf(courier.Get())->put_Size(Points(14)); }, S_OK,
         [](FontSeen& e) { e.height = -19, e.fontSize = 14; }},
        {"the bound object: Bold", [&](IRamvel*) { return FontOf(courier.Get())->put_Bold(TRUE); }, S_OK,
         [](FontSeen& e) { e.weight = FW_BOLD; }},
        {"the bound object: Italic", [&](IRamvel*) { return FontOf(courier.Get())->put_Italic(TRUE); }, S_OK,
         [](FontSeen& e) { e.italic = true; }},
        {"the bound object: Underline", [&](IRamvel*) { return FontOf(courier.Get())->put_Underline(TRUE); }, S_OK,
         [](FontSeen& e) { e.underline = true; }},
        {"the bound object: Strikethrough", [&](IRamvel*) { return FontOf(courier.Get())->put_Strikethrough(TRUE); },
         S_OK, [](FontSeen& e) { e.strikeout = true; }},
        {"Font put with an object that is no font", [&](IRamvel* c) { return c->put_Font(notAFont); }, E_NOINTERFACE,
         [](FontSeen&) {}},
        {"Font put by reference with an object that is no font", [&](IRamvel* c) { return PutRef(c, notAFont); },
         E_NOINTERFACE, [](FontSeen&) {}},
        {"the failures left the binding: Size = 10",
         [&](IRamvel*) { return FontOf(courier.Get())->put_Size(Points(10)); }, S_OK,
         [](FontSeen& e) { e.height = -13, e.fontSize = 10; }},
        {"Font put by reference without a pointer", [](IRamvel* c) { return c->putref_Font(nullptr); }, E_POINTER,
         [](FontSeen&) {}},
        {"Font put by reference with a null object", [](IRamvel* c) { return PutRef(c, nullptr); }, S_OK,
         [](FontSeen&) {}},
        {"the unbound object no longer flows in: Size = 20",
         [&](IRamvel*) { return FontOf(courier.Get())->put_Size(Points(20)); }, S_OK, [](FontSeen&) {}},
        {"Font then gives a new object",
         [&](IRamvel* c) {
             given = gotFont(c);
             EXPECT_FALSE(SameObject(given.Get(), courier.Get()));
             return S_OK;
         },
         S_OK, [](FontSeen&) {}},
        {"the new object flows in: Size = 11", [&](IRamvel*) { return FontOf(given.Get())->put_Size(Points(11)); },
         S_OK, [](FontSeen& e) { e.height = -15, e.fontSize = 11; }},
        {"Font = a null object unbinds", [](IRamvel* c) { return c->put_Font(nullptr); }, S_OK, [](FontSeen&) {}},
        {"the object unbound by value no longer flows in",
         [&](IRamvel*) { return FontOf(given.Get())->put_Size(Points(20)); }, S_OK, [](FontSeen&) {}},
        {"Font then gives another new object",
         [&](IRamvel* c) {
             const ComPtr<IFontDisp> next = gotFont(c);
             EXPECT_FALSE(SameObject(next.Get(), given.Get()));
             return S_OK;
         },
         S_OK, [](FontSeen&) {}},
        {"Font put by value: Tahoma 9", [&](IRamvel* c) { return c->put_Font(tahoma.Get()); }, S_OK,
         [](FontSeen& e) {
             e.face = e.fontName = L"Tahoma", e.height = -12, e.fontSize = 9, e.weight = FW_NORMAL;
             e.italic = e.underline = e.strikeout = false;
         }},
        {"the object put by value flows in: Size = 12",
         [&](IRamvel*) { return FontOf(tahoma.Get())->put_Size(Points(12)); }, S_OK,
         [](FontSeen& e) { e.height = -16, e.fontSize = 12; }},
        // The tree's own font changes: the form's font no longer reaches it.
        {"FontSize = 12, as it is: no change", [](IRamvel* c) { return c->put_FontSize(12); }, S_OK,
         [](FontSeen&) {}},
        {"the bound object still flows in: Size = 11",
         [&](IRamvel*) { return FontOf(tahoma.Get())->put_Size(Points(11)); }, S_OK,
         [](FontSeen& e) { e.height = -15, e.fontSize = 11; }},
        {"FontSize = 12", [](IRamvel* c) { return c->put_FontSize(12); }, S_OK,
         [](FontSeen& e) { e.height = -16, e.fontSize = 12; }},
        {"the bound object: Name = Courier New stays out",
         [&](IRamvel*) { return FontOf(tahoma.Get())->put_Name(MakeBstr(L"Courier New").Get()); }, S_OK,
         [](FontSeen&) {}},
        {"the bound object: Size = 20 stays out",
         [&](IRamvel*) { return FontOf(tahoma.Get())->put_Size(Points(20)); }, S_OK, [](FontSeen&) {}},
        {"Font put by reference stays out", [&](IRamvel* c) { return PutRef(c, MakeFont(L"Courier New", 8).Get()); },
         S_OK, [](FontSeen&) {}},
        {"FontName = Courier New", [](IRamvel* c) { return c->put_FontName(MakeBstr(L"Courier New").Get()); }, S_OK,
         [](FontSeen& e) { e.face = e.fontName = L"Courier New"; }},
    };
    FontSeen expected;
    expected.face = expected.fontName = L"MS Sans Serif";
    expected.height = -11;
    expected.weight = FW_NORMAL;
    expected.fontSize = 8;
    for (auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_HR(s.act(r.control.Get()), s.hr);
        Pump();
        s.change(expected);
        ExpectSeen(Read(r), expected);
    }
}

// A failed put leaves an error object that names the fault.
void NotAFont(Container& container) {
    HostedControl r(container);
    const auto notAFont = reinterpret_cast<IFontDisp*>(static_cast<IDispatch*>(r.control.Get()));
    struct {
        const char* what;
        std::function<HRESULT()> put;
    } cases[] = {
        {"put", [&] { return r->put_Font(notAFont); }},
        {"put by reference", [&] { return PutRef(r.control.Get(), notAFont); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetErrorInfo(0, nullptr);
        EXPECT_HR(c.put(), E_NOINTERFACE);
        const ErrorObject error = TakeErrorInfo();
        EXPECT_TRUE(error.present);
        EXPECT_EQ(error.description, L"Interface non support\u00e9e");
    }
}

}  // namespace

int main() {
    Apartment apartment;
    InitCommonControls();
    RequireStandardScreen();
    Container container;
    RAMVEL_CASE("font objects bound to the form's font reach the tree while it inherits") { Binding(container); }
    RAMVEL_CASE("an object that is no font") { NotAFont(container); }
    return winecheck::Report();
}
