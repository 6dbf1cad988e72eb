// What a designer sets survives, against the real module: a C++ container saves the control's
// settings through a stream, a storage and a property bag and loads them into a new control;
// damaged data is refused and leaves a new control's settings; property-notify sinks hear of
// every change and may veto it; a container in design mode gets no events and the tree no input.
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "PropertySupport.h"
#include "RamvelDispIds.h"

using namespace comtest;
using ramvel::server::QueryAs;

namespace {

// --- The settings a host reads back -----------------------------------------------------------

// The form's font as the bound object describes itself when it saves (what a container keeps).
struct FontDescription {
    std::wstring name;
    LONG points = 0;
    bool bold = false, italic = false, underline = false, strikethrough = false;
    short charset = 0;
};

FontDescription FormFontOf(IRamvel* control) {
    FontDescription d;
    ComPtr<IFontDisp> font;
    if (FAILED(control->get_Font(font.Put())) || !font) return d;
    auto persist = QueryAs<IPersistStream>(font.Get());
    ComPtr<IStream> stream;
    if (!persist || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) || FAILED(persist->Save(stream.Get(), FALSE)))
        return d;
    HGLOBAL memory = nullptr;
    GetHGlobalFromStream(stream.Get(), &memory);
    const auto* b = static_cast<const unsigned char*>(GlobalLock(memory));
    // version, charset (2), attributes (1), weight (2), size (4, 1/10000 pt), name length, name
    d.charset = static_cast<short>(b[1] | b[2] << 8);
    d.italic = b[3] & 0x02;
    d.underline = b[3] & 0x04;
    d.strikethrough = b[3] & 0x08;
    d.bold = (b[4] | b[5] << 8) >= FW_SEMIBOLD;
    d.points = static_cast<LONG>((b[6] | b[7] << 8 | b[8] << 16 | static_cast<unsigned>(b[9]) << 24) / 10000);
    d.name.assign(b + 11, b + 11 + b[10]);
    GlobalUnlock(memory);
    return d;
}

struct Settings {
    std::wstring caption, fontName, helpFile;
    OLE_COLOR color = 0;
    FontDescription font;
    LONG fontSize = 0, axBorderStyle = 0, biDiMode = 0, printScale = 0, imageList = 0, pixelsPerInch = 0;
    short cursor = 0;
    VARIANT_BOOL keyPreview = 0, doubleBuffered = 0, autoScroll = 0, autoSize = 0, dropTarget = 0, enabled = 0,
                 scaled = 0;
    bool lines = false, buttons = false, track = false;  // put-only: read from the tree view's style
};

Settings Read(IRamvel* r, HWND tree) {
    Settings s;
    BSTR text = nullptr;
    EXPECT_HR(r->get_Caption(&text), S_OK);
    s.caption = Take(text);
    EXPECT_HR(r->get_FontName(&text), S_OK);
    s.fontName = Take(text);
    EXPECT_HR(r->get_HelpFile(&text), S_OK);
    s.helpFile = Take(text);
    EXPECT_HR(r->get_Color(&s.color), S_OK);
    s.font = FormFontOf(r);
    EXPECT_HR(r->get_FontSize(&s.fontSize), S_OK);
    TxActiveFormBorderStyle border{};
    EXPECT_HR(r->get_AxBorderStyle(&border), S_OK);
    s.axBorderStyle = border;
    TxBiDiMode bidi{};
    EXPECT_HR(r->get_BiDiMode(&bidi), S_OK);
    s.biDiMode = bidi;
    TxPrintScale scale{};
    EXPECT_HR(r->get_PrintScale(&scale), S_OK);
    s.printScale = scale;
    EXPECT_HR(r->get_ImageList(&s.imageList), S_OK);
    EXPECT_HR(r->get_PixelsPerInch(&s.pixelsPerInch), S_OK);
    EXPECT_HR(r->get_Cursor(&s.cursor), S_OK);
    EXPECT_HR(r->get_KeyPreview(&s.keyPreview), S_OK);
    EXPECT_HR(r->get_DoubleBuffered(&s.doubleBuffered), S_OK);
    EXPECT_HR(r->get_AutoScroll(&s.autoScroll), S_OK);
    EXPECT_HR(r->get_AutoSize(&s.autoSize), S_OK);
    EXPECT_HR(r->get_DropTarget(&s.dropTarget), S_OK);
    EXPECT_HR(r->get_Enabled(&s.enabled), S_OK);
    EXPECT_HR(r->get_Scaled(&s.scaled), S_OK);
    const LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
    s.lines = style & TVS_HASLINES;
    s.buttons = style & TVS_HASBUTTONS;
    s.track = style & TVS_TRACKSELECT;
    return s;
}

void ExpectSettings(const Settings& a, const Settings& e) {
    EXPECT_EQ(a.caption, e.caption);
    EXPECT_EQ(a.fontName, e.fontName);
    EXPECT_EQ(a.helpFile, e.helpFile);
    EXPECT_EQ(a.color, e.color);
    EXPECT_EQ(a.font.name, e.font.name);
    EXPECT_EQ(a.font.points, e.font.points);
    EXPECT_EQ(a.font.bold, e.font.bold);
    EXPECT_EQ(a.font.italic, e.font.italic);
    EXPECT_EQ(a.font.underline, e.font.underline);
    EXPECT_EQ(a.font.strikethrough, e.font.strikethrough);
    EXPECT_EQ(a.font.charset, e.font.charset);
    EXPECT_EQ(a.fontSize, e.fontSize);
    EXPECT_EQ(a.axBorderStyle, e.axBorderStyle);
    EXPECT_EQ(a.biDiMode, e.biDiMode);
    EXPECT_EQ(a.printScale, e.printScale);
    EXPECT_EQ(a.imageList, e.imageList);
    EXPECT_EQ(a.pixelsPerInch, e.pixelsPerInch);
    EXPECT_EQ(a.cursor, e.cursor);
    EXPECT_EQ(a.keyPreview, e.keyPreview);
    EXPECT_EQ(a.doubleBuffered, e.doubleBuffered);
    EXPECT_EQ(a.autoScroll, e.autoScroll);
    EXPECT_EQ(a.autoSize, e.autoSize);
    EXPECT_EQ(a.dropTarget, e.dropTarget);
    EXPECT_EQ(a.enabled, e.enabled);
    EXPECT_EQ(a.scaled, e.scaled);
    EXPECT_EQ(a.lines, e.lines);
    EXPECT_EQ(a.buttons, e.buttons);
    EXPECT_EQ(a.track, e.track);
}

// A new control's settings at 96 pixels per inch.
Settings NewControl() {
    Settings s;
    s.caption = L"MyRamvel";
    s.fontName = L"MS Sans Serif";
    s.color = 0xFF00000F;
    s.font = {L"MS Sans Serif", 8, false, false, false, false, DEFAULT_CHARSET};
    s.fontSize = 8;
    s.axBorderStyle = 1;
    s.printScale = 1;
    s.imageList = 1;
    s.pixelsPerInch = 96;
    s.enabled = s.scaled = VARIANT_TRUE;
    s.lines = s.buttons = true;
    return s;
}

// Every setting away from a new control's value.
Settings Changed() {
    Settings s;
    s.caption = L"Customers";
    s.fontName = L"Tahoma";
    s.helpFile = L"C:\\help\\tree.hlp";
    s.color = 0x000000FF;
    s.font = {L"Courier New", 12, true, true, true, true, ANSI_CHARSET};
    s.fontSize = 14;
    s.axBorderStyle = 2;
    s.biDiMode = 1;
    s.printScale = 2;
    s.imageList = 2;
    s.pixelsPerInch = 120;
    s.cursor = -21;
    s.keyPreview = s.doubleBuffered = s.autoScroll = s.dropTarget = s.scaled = VARIANT_TRUE;
    s.autoSize = VARIANT_FALSE;
    s.enabled = VARIANT_FALSE;
    s.lines = s.buttons = false;
    s.track = true;
    return s;
}

ComPtr<IFontDisp> MakeFont(const FontDescription& d) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(d.name.c_str());
    description.cySize.int64 = d.points * 10000LL;
    description.sWeight = static_cast<SHORT>(d.bold ? FW_BOLD : FW_NORMAL);
    description.sCharset = d.charset;
    description.fItalic = d.italic;
    description.fUnderline = d.underline;
    description.fStrikethrough = d.strikethrough;
    ComPtr<IFontDisp> font;
    if (FAILED(OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(font.Put()))))
        winecheck::Abort("OleCreateFontIndirect failed");
    return font;
}

void Apply(IRamvel* r, const Settings& s) {
    EXPECT_HR(r->put_Caption(MakeBstr(s.caption).Get()), S_OK);
    EXPECT_HR(r->put_Font(MakeFont(s.font).Get()), S_OK);
    EXPECT_HR(r->put_FontName(MakeBstr(s.fontName).Get()), S_OK);
    EXPECT_HR(r->put_FontSize(s.fontSize), S_OK);
    EXPECT_HR(r->put_HelpFile(MakeBstr(s.helpFile).Get()), S_OK);
    EXPECT_HR(r->put_Color(s.color), S_OK);
    EXPECT_HR(r->put_AxBorderStyle(static_cast<TxActiveFormBorderStyle>(s.axBorderStyle)), S_OK);
    EXPECT_HR(r->put_BiDiMode(static_cast<TxBiDiMode>(s.biDiMode)), S_OK);
    EXPECT_HR(r->put_PrintScale(static_cast<TxPrintScale>(s.printScale)), S_OK);
    EXPECT_HR(r->put_ImageList(s.imageList), S_OK);
    EXPECT_HR(r->put_PixelsPerInch(s.pixelsPerInch), S_OK);
    EXPECT_HR(r->put_Cursor(s.cursor), S_OK);
    EXPECT_HR(r->put_KeyPreview(s.keyPreview), S_OK);
    EXPECT_HR(r->put_DoubleBuffered(s.doubleBuffered), S_OK);
    EXPECT_HR(r->put_AutoScroll(s.autoScroll), S_OK);
    EXPECT_HR(r->put_AutoSize(s.autoSize), S_OK);
    EXPECT_HR(r->put_DropTarget(s.dropTarget), S_OK);
    EXPECT_HR(r->put_Enabled(s.enabled), S_OK);
    EXPECT_HR(r->put_Lines(s.lines ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
    EXPECT_HR(r->put_Buttons(s.buttons ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
    EXPECT_HR(r->put_Track(s.track ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
}

HRESULT Dirty(IRamvel* r) { return QueryAs<IPersistStreamInit>(r)->IsDirty(); }

// --- Stream ---------------------------------------------------------------------------------

ComPtr<IStream> NewStream() {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) winecheck::Abort("no stream");
    return stream;
}

void Rewind(IStream* stream) {
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

ULONGLONG Position(IStream* stream) {
    LARGE_INTEGER zero{};
    ULARGE_INTEGER at{};
    stream->Seek(zero, STREAM_SEEK_CUR, &at);
    return at.QuadPart;
}

std::vector<BYTE> Bytes(IStream* stream) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    Rewind(stream);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return bytes;
}

ComPtr<IStream> StreamOf(const std::vector<BYTE>& bytes) {
    ComPtr<IStream> stream = NewStream();
    ULONG written = 0;
    if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    Rewind(stream.Get());
    return stream;
}

void StreamRoundTrip(Container& container) {
    HostedControl source(container);
    auto persist = QueryAs<IPersistStreamInit>(source.control.Get());
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    Apply(source.control.Get(), Changed());
    EXPECT_HR(persist->IsDirty(), S_OK);
    ComPtr<IStream> stream = NewStream();
    EXPECT_HR(persist->Save(stream.Get(), FALSE), S_OK);
    EXPECT_HR(persist->IsDirty(), S_OK);  // without clear-dirty
    const ULONGLONG own = Position(stream.Get());
    ULARGE_INTEGER bound{};
    EXPECT_HR(persist->GetSizeMax(&bound), S_OK);
    EXPECT_TRUE(own > 12 && bound.QuadPart >= own);
    // The container's own data follows; the load reads the control's part only.
    const char tail[] = "container";
    stream->Write(tail, sizeof tail, nullptr);
    EXPECT_HR(persist->Save(NewStream().Get(), TRUE), S_OK);
    EXPECT_HR(persist->IsDirty(), S_FALSE);

    HostedControl target(container);
    auto loader = QueryAs<IPersistStreamInit>(target.control.Get());
    Rewind(stream.Get());
    EXPECT_HR(loader->Load(stream.Get()), S_OK);
    EXPECT_EQ(Position(stream.Get()), own);
    ExpectSettings(Read(target.control.Get(), target.tree), Changed());
    EXPECT_HR(loader->IsDirty(), S_FALSE);
    // InitNew gives a new control's settings again.
    EXPECT_HR(loader->InitNew(), S_OK);
    ExpectSettings(Read(target.control.Get(), target.tree), NewControl());
    EXPECT_HR(loader->IsDirty(), S_FALSE);
}

// --- Damaged data ---------------------------------------------------------------------------

std::vector<BYTE> Saved(Container& container) {
    HostedControl source(container);
    Apply(source.control.Get(), Changed());
    ComPtr<IStream> stream = NewStream();
    EXPECT_HR(QueryAs<IPersistStreamInit>(source.control.Get())->Save(stream.Get(), TRUE), S_OK);
    return Bytes(stream.Get());
}

void PutLong(std::vector<BYTE>& bytes, size_t at, DWORD value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
}

// The first entry of a saved block is Caption (tag 1): its length field sits at 14.
void DamagedStreams(Container& container) {
    const std::vector<BYTE> good = Saved(container);
    const auto edit = [&](const std::function<void(std::vector<BYTE>&)>& change) {
        std::vector<BYTE> bytes = good;
        change(bytes);
        return bytes;
    };
    // A block of one ImageList entry (tag 19) of value 3.
    const std::vector<BYTE> outOfRange{'R', 'V', 'L', 'S', 1, 0, 0, 0, 7, 0, 0, 0, 19, 0, 1, 0, 0, 0, 3};
    struct {
        const char* what;
        std::vector<BYTE> bytes;
        HRESULT hr;
        std::wstring description;
    } cases[] = {
        {"empty", {}, STG_E_READFAULT, L"The saved Ramvel settings end early: their header takes 12 bytes, only 0 are there."},
        {"header cut", std::vector<BYTE>(good.begin(), good.begin() + 7), STG_E_READFAULT,
         L"The saved Ramvel settings end early: their header takes 12 bytes, only 7 are there."},
        {"payload cut", std::vector<BYTE>(good.begin(), good.end() - 3), STG_E_READFAULT,
         L"The saved Ramvel settings end early: " + std::to_wstring(good.size() - 12) + L" bytes of settings announced, " +
             std::to_wstring(good.size() - 15) + L" are there."},
        {"wrong signature", edit([](auto& b) { b[1] = 'X'; }), STG_E_INVALIDHEADER,
         L"The data holds no saved Ramvel settings (its signature is not RVLS)."},
        {"a later version", edit([](auto& b) { b[4] = 2; }), STG_E_OLDFORMAT,
         L"The saved Ramvel settings have format version 2; this Ramvel reads version 1 only."},
        {"huge payload", edit([](auto& b) { PutLong(b, 8, 0x7FFFFFFF); }), STG_E_DOCFILECORRUPT,
         L"The saved Ramvel settings are damaged: they announce 2147483647 bytes, more than the 1048576 any settings "
         L"take."},
        {"entry past the end", edit([&](auto& b) { PutLong(b, 14, static_cast<DWORD>(good.size())); }),
         STG_E_DOCFILECORRUPT,
         L"The saved Ramvel settings are damaged: entry 1 claims " + std::to_wstring(good.size()) + L" bytes, only " +
             std::to_wstring(good.size() - 18) + L" remain."},
        {"huge entry", edit([](auto& b) { PutLong(b, 14, 0xFFFFFFFF); }), STG_E_DOCFILECORRUPT,
         L"The saved Ramvel settings are damaged: entry 1 claims 4294967295 bytes, only " +
             std::to_wstring(good.size() - 18) + L" remain."},
        {"out of range", outOfRange, E_INVALIDARG, L"3 is out of range for ImageList (0 to 2)."},
    };
    HostedControl target(container);
    auto loader = QueryAs<IPersistStreamInit>(target.control.Get());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ComPtr<IStream> stream = StreamOf(c.bytes);
        EXPECT_HR(loader->Load(stream.Get()), c.hr);
        const ErrorObject error = TakeErrorInfo();
        EXPECT_EQ(error.description, c.description);
        EXPECT_EQ(error.source, std::wstring(L"RamvelProj1.Ramvel"));
        ExpectSettings(Read(target.control.Get(), target.tree), NewControl());
        EXPECT_HR(loader->IsDirty(), S_FALSE);
    }
    // Still usable: a good stream loads afterwards.
    EXPECT_HR(loader->Load(StreamOf(good).Get()), S_OK);
    ExpectSettings(Read(target.control.Get(), target.tree), Changed());
}

// --- Storage --------------------------------------------------------------------------------

ComPtr<IStorage> NewStorage() {
    ComPtr<ILockBytes> bytes;
    ComPtr<IStorage> storage;
    if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Put())) ||
        FAILED(StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                            storage.Put())))
        winecheck::Abort("no storage");
    return storage;
}

void StorageRoundTrip(Container& container) {
    ComPtr<IStorage> first = NewStorage(), second = NewStorage();
    HostedControl source(container);
    auto persist = QueryAs<IPersistStorage>(source.control.Get());
    // Out of order before any storage.
    EXPECT_HR(persist->Save(first.Get(), TRUE), E_UNEXPECTED);
    EXPECT_HR(persist->SaveCompleted(nullptr), E_UNEXPECTED);
    EXPECT_HR(persist->HandsOffStorage(), E_UNEXPECTED);
    EXPECT_HR(persist->InitNew(first.Get()), S_OK);
    EXPECT_HR(persist->InitNew(first.Get()), CO_E_ALREADYINITIALIZED);
    EXPECT_HR(persist->Load(first.Get()), CO_E_ALREADYINITIALIZED);
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    Apply(source.control.Get(), Changed());
    EXPECT_HR(persist->IsDirty(), S_OK);
    EXPECT_HR(persist->SaveCompleted(nullptr), E_UNEXPECTED);  // no save yet
    EXPECT_HR(persist->Save(first.Get(), TRUE), S_OK);
    EXPECT_HR(persist->SaveCompleted(nullptr), S_OK);
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    // Save as: into another storage, hands off, then that storage becomes the control's.
    EXPECT_HR(source->put_Caption(MakeBstr(L"Second").Get()), S_OK);
    EXPECT_HR(persist->Save(second.Get(), FALSE), S_OK);
    EXPECT_HR(persist->IsDirty(), S_OK);
    EXPECT_HR(persist->HandsOffStorage(), S_OK);
    EXPECT_HR(persist->Save(second.Get(), TRUE), E_UNEXPECTED);
    EXPECT_HR(persist->SaveCompleted(nullptr), E_INVALIDARG);
    EXPECT_HR(persist->SaveCompleted(second.Get()), S_OK);
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    EXPECT_HR(persist->SaveCompleted(nullptr), E_UNEXPECTED);

    HostedControl target(container);
    auto loader = QueryAs<IPersistStorage>(target.control.Get());
    EXPECT_HR(loader->Load(first.Get()), S_OK);
    ExpectSettings(Read(target.control.Get(), target.tree), Changed());
    HostedControl third(container);
    EXPECT_HR(QueryAs<IPersistStorage>(third.control.Get())->Load(second.Get()), S_OK);
    Settings renamed = Changed();
    renamed.caption = L"Second";
    ExpectSettings(Read(third.control.Get(), third.tree), renamed);
}

void DamagedStorages(Container& container) {
    HostedControl target(container);
    auto loader = QueryAs<IPersistStorage>(target.control.Get());
    ComPtr<IStorage> empty = NewStorage();
    EXPECT_HR(loader->Load(empty.Get()), STG_E_FILENOTFOUND);
    EXPECT_EQ(TakeErrorInfo().description, std::wstring(L"The storage holds no Ramvel settings (no \"Contents\" stream)."));
    ComPtr<IStorage> damaged = NewStorage();
    {
        ComPtr<IStream> contents;
        damaged->CreateStream(L"Contents", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, contents.Put());
        contents->Write("RVLS\x01\0\0\0\xFF\xFF\0\0", 12, nullptr);
    }
    EXPECT_HR(loader->Load(damaged.Get()), STG_E_READFAULT);
    ExpectSettings(Read(target.control.Get(), target.tree), NewControl());
    // Nothing was taken: the storage protocol starts afresh.
    EXPECT_HR(loader->InitNew(empty.Get()), S_OK);
}

// --- Property bag ---------------------------------------------------------------------------

class PropertyBag final : public IPropertyBag {
public:
    std::map<std::wstring, VARIANT> values;
    std::vector<std::wstring> reads;
    ~PropertyBag() {
        for (auto& [name, value] : values) VariantClear(&value);
    }
    void Set(const std::wstring& name, const std::wstring& text) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(text.c_str());
        VariantClear(&values[name]);
        values[name] = v;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IPropertyBag ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        reads.push_back(name);
        const auto found = values.find(name);
        if (found == values.end()) return E_INVALIDARG;
        if (V_VT(value) == VT_EMPTY) return VariantCopy(value, &found->second);
        return VariantChangeType(value, &found->second, 0, V_VT(value));
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        VARIANT copy;
        VariantInit(&copy);
        VariantCopy(&copy, value);
        VariantClear(&values[name]);
        values[name] = copy;
        return S_OK;
    }
};

class ErrorLog final : public IErrorLog {
public:
    std::map<std::wstring, std::pair<HRESULT, std::wstring>> errors;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IErrorLog ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE AddError(LPCOLESTR name, EXCEPINFO* info) override {
        errors[name] = {info->scode, Text(info->bstrDescription)};
        return S_OK;
    }
};

void BagRoundTrip(Container& container) {
    HostedControl source(container);
    Apply(source.control.Get(), Changed());
    PropertyBag bag;
    auto persist = QueryAs<IPersistPropertyBag>(source.control.Get());
    EXPECT_HR(persist->InitNew(), S_OK);
    Apply(source.control.Get(), Changed());
    EXPECT_HR(Dirty(source.control.Get()), S_OK);
    EXPECT_HR(persist->Save(&bag, TRUE, TRUE), S_OK);
    EXPECT_HR(Dirty(source.control.Get()), S_FALSE);
    // Each value under its type library name, in a type a form file or a page can carry.
    struct {
        const wchar_t* name;
        VARTYPE type;
    } expected[] = {
        {L"Caption", VT_BSTR},   {L"Color", VT_I4},          {L"Font.Name", VT_BSTR},     {L"Font.Size", VT_I4},
        {L"Font.Bold", VT_BOOL}, {L"Font.Italic", VT_BOOL},   {L"Font.Underline", VT_BOOL},
        {L"Font.Strikethrough", VT_BOOL}, {L"Font.Charset", VT_I4}, {L"FontName", VT_BSTR}, {L"FontSize", VT_I4},
        {L"KeyPreview", VT_BOOL}, {L"AxBorderStyle", VT_I4}, {L"BiDiMode", VT_I4}, {L"Cursor", VT_I2},
        {L"DoubleBuffered", VT_BOOL}, {L"HelpFile", VT_BSTR}, {L"ImageList", VT_I4}, {L"AutoScroll", VT_BOOL},
        {L"AutoSize", VT_BOOL}, {L"DropTarget", VT_BOOL}, {L"PrintScale", VT_I4}, {L"PixelsPerInch", VT_I4},
        {L"Enabled", VT_BOOL}, {L"Lines", VT_BOOL}, {L"Buttons", VT_BOOL}, {L"Track", VT_BOOL},
    };
    EXPECT_EQ(bag.values.size(), std::size(expected));
    for (const auto& e : expected) {
        SCOPED_TRACE(winecheck::Utf8(e.name));
        const auto found = bag.values.find(e.name);
        EXPECT_TRUE(found != bag.values.end() && V_VT(&found->second) == e.type);
    }
    EXPECT_EQ(std::wstring(V_BSTR(&bag.values[L"Font.Name"])), std::wstring(L"Courier New"));

    HostedControl target(container);
    ErrorLog log;
    EXPECT_HR(QueryAs<IPersistPropertyBag>(target.control.Get())->Load(&bag, &log), S_OK);
    EXPECT_TRUE(log.errors.empty());
    ExpectSettings(Read(target.control.Get(), target.tree), Changed());
    EXPECT_HR(Dirty(target.control.Get()), S_FALSE);
}

// A web page's <param> tags: every value a text.
void PageParams(Container& container) {
    PropertyBag bag;
    bag.Set(L"Caption", L"From a page");
    bag.Set(L"Color", L"255");
    bag.Set(L"Font.Name", L"Courier New");
    bag.Set(L"Font.Size", L"12");
    bag.Set(L"Font.Bold", L"True");
    bag.Set(L"FontName", L"Tahoma");
    bag.Set(L"FontSize", L"14");
    bag.Set(L"KeyPreview", L"-1");
    bag.Set(L"Lines", L"False");
    bag.Set(L"Buttons", L"0");
    bag.Set(L"Track", L"True");
    bag.Set(L"ImageList", L"2");
    bag.Set(L"Cursor", L"-21");
    bag.Set(L"AxBorderStyle", L"sunken");  // no number
    bag.Set(L"PixelsPerInch", L"20");      // a density no screen has
    bag.Set(L"Enabled", L"maybe");         // no flag
    HostedControl target(container);
    ErrorLog log;
    EXPECT_HR(QueryAs<IPersistPropertyBag>(target.control.Get())->Load(&bag, &log), S_OK);
    EXPECT_EQ(log.errors.size(), 3u);
    EXPECT_EQ(log.errors[L"AxBorderStyle"].second, std::wstring(L"'sunken' is not a value AxBorderStyle takes."));
    EXPECT_EQ(log.errors[L"PixelsPerInch"].first, E_INVALIDARG);
    EXPECT_EQ(log.errors[L"PixelsPerInch"].second,
              std::wstring(L"20 is out of range for PixelsPerInch (0, or 36 to 2147483647)."));
    EXPECT_EQ(log.errors[L"Enabled"].second, std::wstring(L"'maybe' is not a value Enabled takes."));
    Settings expected = NewControl();
    expected.caption = L"From a page";
    expected.color = 255;
    expected.font.name = L"Courier New";
    expected.font.points = 12;
    expected.font.bold = true;
    expected.fontName = L"Tahoma";
    expected.fontSize = 14;
    expected.keyPreview = VARIANT_TRUE;
    expected.lines = expected.buttons = false;
    expected.track = true;
    expected.imageList = 2;
    expected.cursor = -21;
    ExpectSettings(Read(target.control.Get(), target.tree), expected);
}

// --- Property-change notifications ------------------------------------------------------------

class NotifySink final : public IPropertyNotifySink {
public:
    std::vector<std::string> heard;  // "OnRequestEdit -518"...
    std::set<DISPID> vetoed;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IPropertyNotifySink ? this : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
        heard.push_back("OnChanged " + std::to_string(id));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID id) override {
        heard.push_back("OnRequestEdit " + std::to_string(id));
        return vetoed.count(id) ? S_FALSE : S_OK;
    }
    std::vector<std::string> Take() { return std::exchange(heard, {}); }
};

// Counts the view changes a design surface drawing through IViewObject hears of.
class ViewSink final : public IAdviseSink {
public:
    int viewChanges = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IAdviseSink ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++viewChanges; }
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override {}
};

using Heard = std::vector<std::string>;
std::string HeardRequest(DISPID id) { return "OnRequestEdit " + std::to_string(id); }
std::string HeardChange(DISPID id) { return "OnChanged " + std::to_string(id); }

void Notifications(Container& container) {
    HostedControl r(container);
    NotifySink sink;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    ASSERT_HR(QueryAs<IConnectionPointContainer>(r.control.Get())->FindConnectionPoint(IID_IPropertyNotifySink, point.Put()),
              S_OK);
    ASSERT_HR(point->Advise(&sink, &cookie), S_OK);
    auto persist = QueryAs<IPersistStreamInit>(r.control.Get());
    EXPECT_HR(persist->InitNew(), S_OK);
    struct {
        const char* what;
        std::function<HRESULT()> put;
        DISPID id;
    } puts[] = {
        {"Caption", [&] { return r->put_Caption(MakeBstr(L"A").Get()); }, DISPID_CAPTION},
        {"Color", [&] { return r->put_Color(0xFF); }, DISPID_BACKCOLOR},
        {"Enabled", [&] { return r->put_Enabled(VARIANT_FALSE); }, DISPID_ENABLED},
        {"Lines", [&] { return r->put_Lines(VARIANT_FALSE); }, DISPID_RAMVEL_LINES},
        {"FontSize", [&] { return r->put_FontSize(12); }, DISPID_RAMVEL_FONTSIZE},
        {"ImageList", [&] { return r->put_ImageList(2); }, DISPID_RAMVEL_IMAGELIST},
        {"Cursor", [&] { return r->put_Cursor(-21); }, DISPID_RAMVEL_CURSOR},
        {"Font", [&] { return r->put_Font(MakeFont({L"Tahoma", 9}).Get()); }, DISPID_FONT},
    };
    ViewSink view;
    auto viewObject = QueryAs<IViewObject2>(r.control.Get());
    ComPtr<IAdviseSink> hostView;
    DWORD aspects = 0, flags = 0;
    EXPECT_HR(viewObject->GetAdvise(&aspects, &flags, hostView.Put()), S_OK);
    EXPECT_HR(viewObject->SetAdvise(DVASPECT_CONTENT, 0, &view), S_OK);
    for (const auto& p : puts) {
        SCOPED_TRACE(p.what);
        EXPECT_HR(persist->InitNew(), S_OK);
        sink.Take();
        view.viewChanges = 0;
        EXPECT_HR(p.put(), S_OK);
        EXPECT_EQ(sink.Take(), (Heard{HeardRequest(p.id), HeardChange(p.id)}));
        EXPECT_HR(persist->IsDirty(), S_OK);
        EXPECT_EQ(view.viewChanges, 1);
    }
    EXPECT_HR(viewObject->SetAdvise(aspects, flags, hostView.Get()), S_OK);
    // A veto holds: the put changes nothing and answers S_FALSE, as the standard frameworks do.
    EXPECT_HR(persist->InitNew(), S_OK);
    sink.vetoed = {DISPID_CAPTION};
    EXPECT_HR(r->put_Caption(MakeBstr(L"Vetoed").Get()), S_FALSE);
    EXPECT_EQ(sink.Take(), (Heard{HeardRequest(DISPID_CAPTION)}));
    BSTR caption = nullptr;
    EXPECT_HR(r->get_Caption(&caption), S_OK);
    EXPECT_EQ(Take(caption), std::wstring(L"MyRamvel"));
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    sink.vetoed.clear();
    // A change made through the font object counts as a change of Font.
    ComPtr<IFontDisp> font;
    EXPECT_HR(r->get_Font(font.Put()), S_OK);
    EXPECT_TRUE(sink.Take().empty());  // handing the object out changes nothing
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    EXPECT_HR(QueryAs<IFont>(font.Get())->put_Bold(TRUE), S_OK);
    EXPECT_EQ(sink.Take(), (Heard{HeardChange(DISPID_FONT)}));
    EXPECT_HR(persist->IsDirty(), S_OK);
    EXPECT_TRUE(FormFontOf(r.control.Get()).bold);
    // Frozen events: no notifications, the change still counts.
    auto control = QueryAs<IOleControl>(r.control.Get());
    EXPECT_HR(persist->InitNew(), S_OK);
    EXPECT_HR(control->FreezeEvents(TRUE), S_OK);
    EXPECT_HR(r->put_Caption(MakeBstr(L"Frozen").Get()), S_OK);
    EXPECT_TRUE(sink.Take().empty());
    EXPECT_HR(persist->IsDirty(), S_OK);
    EXPECT_HR(control->FreezeEvents(FALSE), S_OK);
    // Visible is the container's: no notification, not dirty.
    EXPECT_HR(persist->InitNew(), S_OK);
    EXPECT_HR(r->put_Visible(VARIANT_TRUE), S_OK);
    EXPECT_TRUE(sink.Take().empty());
    EXPECT_HR(persist->IsDirty(), S_FALSE);
    EXPECT_HR(point->Unadvise(cookie), S_OK);
}

// --- Design mode ----------------------------------------------------------------------------

// A client site whose ambient properties answer UserMode as told (VT_EMPTY: no answer).
class AmbientSite final : public IOleClientSite, public IDispatch {
public:
    VARIANT userMode{};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IDispatch)
            *object = static_cast<IDispatch*>(this);
        else
            *object = nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override {
        *m = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
        *c = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_AMBIENT_USERMODE || V_VT(&userMode) == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
        return VariantCopy(result, &userMode);
    }
    void Answer(bool run) {
        V_VT(&userMode) = VT_BOOL;
        V_BOOL(&userMode) = run ? VARIANT_TRUE : VARIANT_FALSE;
    }
};

LONG Selected(IRamvel* r) {
    LONG handle = 0;
    EXPECT_HR(r->GethSelectedNode(&handle), S_OK);
    return handle;
}

// A click on the middle of the first root's row.
void ClickFirstRow(HWND tree) {
    RECT row{};
    *reinterpret_cast<HTREEITEM*>(&row) = TreeView_GetRoot(tree);
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    // Posted, as the system queues them: the tree view waits for the release inside the press.
    PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    Pump();
}

void DesignMode(Container& container) {
    HostedControl r(container);
    EventRecorder recorder;
    Connection connection(r.control.Get(), recorder);
    ASSERT_HR(r->AddNodes(MakeBstr(L"0\tA\n0\tB").Get()), S_OK);
    BSTR info = nullptr;
    EXPECT_HR(r->GoToNode(1, &info), S_OK);
    const LONG second = HandleOf(Take(info));
    recorder.Take();
    auto object = QueryAs<IOleObject>(r.control.Get());
    auto control = QueryAs<IOleControl>(r.control.Get());
    ComPtr<IOleClientSite> hostSite;
    object->GetClientSite(hostSite.Put());

    AmbientSite site;
    site.Answer(false);
    EXPECT_HR(object->SetClientSite(&site), S_OK);
    EXPECT_HR(r->GoToNode(0, &info), S_OK);  // the host still drives the tree
    Take(info);
    EXPECT_HR(r->GoToNode(1, &info), S_OK);
    Take(info);
    ClickFirstRow(r.tree);
    PostMessageW(r.tree, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(r.tree, WM_KEYUP, VK_UP, 0);
    Pump();
    EXPECT_EQ(Selected(r.control.Get()), second);  // no click, no key
    EXPECT_TRUE(recorder.Take().empty());
    // Design mode still takes property changes and saves them.
    EXPECT_HR(r->put_Caption(MakeBstr(L"Designed").Get()), S_OK);
    EXPECT_HR(Dirty(r.control.Get()), S_OK);

    // The container runs the form: the change of UserMode comes as an ambient change.
    site.Answer(true);
    EXPECT_HR(control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    ClickFirstRow(r.tree);
    EXPECT_TRUE(Selected(r.control.Get()) != second);
    const std::vector<std::string> events = recorder.Take();  // OnActivate too, as the focus comes in
    EXPECT_TRUE(std::find(events.begin(), events.end(), "OnChange") != events.end());

    // Back to design mode through a change of every ambient property.
    site.Answer(false);
    EXPECT_HR(control->OnAmbientPropertyChange(DISPID_UNKNOWN), S_OK);
    EXPECT_HR(r->GoToNode(1, &info), S_OK);
    Take(info);
    EXPECT_TRUE(recorder.Take().empty());

    // A site that does not answer means run mode.
    VariantClear(&site.userMode);
    EXPECT_HR(control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    EXPECT_HR(r->GoToNode(0, &info), S_OK);
    Take(info);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"OnChange"}));

    // Frozen events, counted.
    EXPECT_HR(control->FreezeEvents(TRUE), S_OK);
    EXPECT_HR(control->FreezeEvents(TRUE), S_OK);
    EXPECT_HR(control->FreezeEvents(FALSE), S_OK);
    EXPECT_HR(r->GoToNode(1, &info), S_OK);
    Take(info);
    EXPECT_TRUE(recorder.Take().empty());
    EXPECT_HR(control->FreezeEvents(FALSE), S_OK);
    EXPECT_HR(r->GoToNode(0, &info), S_OK);
    Take(info);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"OnChange"}));
    EXPECT_HR(object->SetClientSite(hostSite.Get()), S_OK);
}

// QuickActivate hands UserMode over in the container's ambient flags.
void QuickActivateDesignMode() {
    ComPtr<IRamvel> r;
    ASSERT_HR(CoCreateInstance(CLSID_Ramvel, nullptr, CLSCTX_INPROC_SERVER, IID_IRamvel, reinterpret_cast<void**>(r.Put())),
              S_OK);
    EventRecorder recorder;
    AmbientSite site;  // answers nothing itself
    QACONTAINER qa{};
    qa.cbSize = sizeof qa;
    qa.pClientSite = &site;
    qa.pUnkEventSink = &recorder;
    qa.dwAmbientFlags = 0;  // no QACONTAINER_USERMODE: design mode
    QACONTROL answer{};
    answer.cbSize = sizeof answer;
    auto quick = QueryAs<IQuickActivate>(r.Get());
    ASSERT_HR(quick->QuickActivate(&qa, &answer), S_OK);
    EXPECT_TRUE(answer.dwEventCookie != 0);
    ASSERT_HR(r->AddNodes(MakeBstr(L"0\tA\n0\tB").Get()), S_OK);
    BSTR info = nullptr;
    EXPECT_HR(r->GoToNode(1, &info), S_OK);
    Take(info);
    EXPECT_TRUE(recorder.Take().empty());
    site.Answer(true);
    EXPECT_HR(QueryAs<IOleControl>(r.Get())->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    EXPECT_HR(r->GoToNode(0, &info), S_OK);
    Take(info);
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"OnChange"}));
    QueryAs<IOleObject>(r.Get())->Close(OLECLOSE_NOSAVE);
    QueryAs<IOleObject>(r.Get())->SetClientSite(nullptr);
    auto point = QueryAs<IConnectionPointContainer>(r.Get());
    ComPtr<IConnectionPoint> events;
    point->FindConnectionPoint(DIID_IRamvelEvents, events.Put());
    events->Unadvise(answer.dwEventCookie);
}

}  // namespace

int main() {
    Apartment apartment;
    InitCommonControls();
    RequireStandardScreen();
    Container container;
    RAMVEL_CASE("a stream: every setting saved, loaded into a new control, read back") { StreamRoundTrip(container); }
    RAMVEL_CASE("damaged streams are refused and leave a new control's settings") { DamagedStreams(container); }
    RAMVEL_CASE("a storage: the protocol, save as, and a new control loading it") { StorageRoundTrip(container); }
    RAMVEL_CASE("storages without or with damaged settings") { DamagedStorages(container); }
    RAMVEL_CASE("a property bag: one value per setting, loaded into a new control") { BagRoundTrip(container); }
    RAMVEL_CASE("a page's parameters, all texts, with the values that do not fit logged") { PageParams(container); }
    RAMVEL_CASE("property-notify sinks: request, change, veto, the font object, frozen") { Notifications(container); }
    RAMVEL_CASE("design mode: no events, no tree input; run mode again") { DesignMode(container); }
    RAMVEL_CASE("QuickActivate's ambient flags") { QuickActivateDesignMode(); }
    return winecheck::Report();
}
