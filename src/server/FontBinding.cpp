#include "server/FontBinding.h"

#include <atomic>
#include <string>

#include "control/RamvelError.h"
#include "server/ErrorBoundary.h"
#include "properties/FormSettings.h"

namespace ramvel::server {

namespace {

// Whole points, to the nearest, of a size in ten-thousandths of a point.
std::int32_t PointsOfSize(std::int64_t size) { return MulDivRound(size, 1, 10000); }

// The description a standard font object saves: version 1, charset (2 bytes), attributes (1:
// italic 0x02, underline 0x04, strikethrough 0x08), weight (2), size in ten-thousandths of a
// point (4), then the name's length (1) and the name in the ANSI code page. It is what the
// host set: the getters of some font objects (Wine's) answer with the font the system realised
// instead, another face ("Liberation Sans" for "Tahoma") and a size rounded through pixels.
bool ReadSavedDescription(IFont& font, FontSettings& out) {
    auto persist = QueryAs<IPersistStream>(&font);
    ComPtr<IStream> stream;
    if (!persist || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) ||
        FAILED(persist->Save(stream.Get(), FALSE)))
        return false;
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    if (FAILED(GetHGlobalFromStream(stream.Get(), &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return false;
    const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    constexpr std::size_t kFixedPart = 11;
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(memory));
    if (!bytes) return false;
    const bool valid = size >= kFixedPart && bytes[0] == 1 && size >= kFixedPart + bytes[10];
    if (valid) {
        const auto word = [&](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8); };
        const std::uint32_t size10000 =
            bytes[6] | bytes[7] << 8 | bytes[8] << 16 | static_cast<std::uint32_t>(bytes[9]) << 24;
        const int nameLength = bytes[10];
        std::wstring name(static_cast<std::size_t>(nameLength), L'\0');
        const int converted = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes + kFixedPart),
                                                  nameLength, name.data(), nameLength);
        name.resize(static_cast<std::size_t>(converted > 0 ? converted : 0));
        if (!name.empty()) out.name.assign(name.begin(), name.end());
        out.charset = static_cast<std::uint8_t>(word(1));
        out.italic = (bytes[3] & 0x02) != 0;
        out.underline = (bytes[3] & 0x04) != 0;
        out.strikeout = (bytes[3] & 0x08) != 0;
        out.bold = word(4) >= FW_SEMIBOLD;
        out.height = HeightFor(PointsOfSize(size10000), out.pixelsPerInch);
    }
    GlobalUnlock(memory);
    return valid;
}

// The description as the object's properties give it, for objects that save none.
void ReadProperties(IFont& source, FontSettings& out) {
    BSTR name = nullptr;
    if (SUCCEEDED(source.get_Name(&name)) && name && *name) out.name = std::u16string(TextView(name));
    SysFreeString(name);
    CY size{};
    if (SUCCEEDED(source.get_Size(&size))) out.height = HeightFor(PointsOfSize(size.int64), out.pixelsPerInch);
    BOOL flag = FALSE;
    if (SUCCEEDED(source.get_Bold(&flag))) out.bold = flag;
    if (SUCCEEDED(source.get_Italic(&flag))) out.italic = flag;
    if (SUCCEEDED(source.get_Underline(&flag))) out.underline = flag;
    if (SUCCEEDED(source.get_Strikethrough(&flag))) out.strikeout = flag;
    SHORT charset = 0;
    if (SUCCEEDED(source.get_Charset(&charset))) out.charset = static_cast<std::uint8_t>(charset);
}

}  // namespace

// Hears the bound font object's property changes and passes them on.
class FontBinding::Listener final : public IPropertyNotifySink {
public:
    explicit Listener(FontBinding& owner) : owner_(&owner) {}
    void Detach() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = riid == IID_IUnknown || riid == IID_IPropertyNotifySink ? static_cast<IPropertyNotifySink*>(this)
                                                                           : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    // A change the form cannot take leaves its font as it was; the font object is told all is well.
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
        ComCall([&] {
            if (owner_) owner_->Copy();
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

private:
    FontBinding* owner_;
    std::atomic<ULONG> refs_{0};
};

ComPtr<IFontDisp> FontBinding::Get(const FontSettings& font) {
    if (!font_) {
        const std::wstring name(font.name.begin(), font.name.end());
        FONTDESC description{};
        description.cbSizeofstruct = sizeof(FONTDESC);
        description.lpstrName = const_cast<LPOLESTR>(name.c_str());
        description.cySize.int64 = std::int64_t{PointsOf(font)} * 10000;
        description.sWeight = static_cast<SHORT>(font.bold ? FW_BOLD : FW_NORMAL);
        description.sCharset = font.charset;
        description.fItalic = font.italic;
        description.fUnderline = font.underline;
        description.fStrikethrough = font.strikeout;
        ComPtr<IFontDisp> made;
        const HRESULT hr = OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(made.Put()));
        if (FAILED(hr)) throw RamvelError(u"", hr);
        Bind(made.Get(), font);
    }
    return QueryAs<IFontDisp>(font_.Get());
}

void FontBinding::Bind(IFontDisp* object, const FontSettings& current) {
    if (!object) {
        Unbind();
        return;
    }
    ComPtr<IFont> font = QueryAs<IFont>(object);
    if (!font) throw RamvelError(u"Interface non supportée", E_NOINTERFACE);
    Unbind();
    font_ = font;
    base_ = current;
    // Changes made to the object later reach the form through its property notifications.
    if (auto container = QueryAs<IConnectionPointContainer>(font_.Get());
        container && SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, point_.Put()))) {
        listener_ = ComPtr<IPropertyNotifySink>(new Listener(*this));
        listener_->AddRef();  // ComPtr adopts; the listener starts at 0
        if (FAILED(point_->Advise(listener_.Get(), &cookie_))) cookie_ = 0;
    }
    Copy();
}

void FontBinding::Unbind() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
    if (listener_) static_cast<Listener*>(listener_.Get())->Detach();
    cookie_ = 0;
    point_.Reset();
    listener_.Reset();
    font_.Reset();
}

void FontBinding::Copy() {
    if (!font_) return;
    FontSettings font = base_;
    if (!ReadSavedDescription(*font_.Get(), font)) ReadProperties(*font_.Get(), font);
    base_ = font;
    onChange_(font);
}

}  // namespace ramvel::server
