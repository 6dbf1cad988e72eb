#include "server/FontBinding.h"

#include <atomic>
#include <string>

#include "control/RamvelError.h"
#include "properties/FormSettings.h"

namespace ramvel::server {

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
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
        try {
            if (owner_) owner_->Copy();
        } catch (...) {
            // A change the form cannot take leaves its font as it was.
        }
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
    BSTR name = nullptr;
    if (SUCCEEDED(font_->get_Name(&name)) && name && *name) font.name = std::u16string(TextView(name));
    SysFreeString(name);
    CY size{};
    if (SUCCEEDED(font_->get_Size(&size))) {
        // Whole points, to the nearest.
        const std::int32_t points = MulDivRound(size.int64, 1, 10000);
        font.height = HeightFor(points, font.pixelsPerInch);
    }
    BOOL flag = FALSE;
    if (SUCCEEDED(font_->get_Bold(&flag))) font.bold = flag;
    if (SUCCEEDED(font_->get_Italic(&flag))) font.italic = flag;
    if (SUCCEEDED(font_->get_Underline(&flag))) font.underline = flag;
    if (SUCCEEDED(font_->get_Strikethrough(&flag))) font.strikeout = flag;
    SHORT charset = 0;
    if (SUCCEEDED(font_->get_Charset(&charset))) font.charset = static_cast<std::uint8_t>(charset);
    base_ = font;
    onChange_(font);
}

}  // namespace ramvel::server
