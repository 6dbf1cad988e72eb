// Persistence through a property bag (IPersistPropertyBag): a text form file or a web page's
// <param> tags. Each saved setting is one value under its type library name ("Caption",
// "Color", "Lines"...); the form's font is saved as its parts, "Font.Name", "Font.Size" (whole
// points), "Font.Bold", "Font.Italic", "Font.Underline", "Font.Strikethrough", "Font.Charset".
// FontName and FontSize are written only once the tree has a font of its own.
//
// Loading converts whatever the bag gives (a page gives texts: "255", "True", "-1", "Tahoma").
// A name the bag lacks keeps the control's value. A value that does not convert, or is out of
// range, goes to the error log under its name and keeps the control's value; the rest still
// load, and the load succeeds.
#include <climits>
#include <string>

#include "server/ControlObject.h"

namespace ramvel::server {
namespace {

struct Variant {
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

bool IsTreeFont(const SettingInfo& info) {
    return info.tag == SettingTag::TreeFontName || info.tag == SettingTag::TreeFontSize;
}

std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }

VARTYPE BagType(const SettingInfo& info) {
    switch (info.kind) {
    case SettingKind::Flag: return VT_BOOL;
    case SettingKind::Text: return VT_BSTR;
    case SettingKind::Number: return info.width == 2 ? VT_I2 : VT_I4;
    }
    return VT_EMPTY;
}

void ToVariant(const SettingInfo& info, const SettingValue& value, VARIANT& out) {
    switch (info.kind) {
    case SettingKind::Flag:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = std::get<bool>(value) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case SettingKind::Text: {
        const std::u16string& text = std::get<std::u16string>(value);
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
        if (!V_BSTR(&out)) throw std::bad_alloc();
        break;
    }
    case SettingKind::Number:
        V_VT(&out) = BagType(info);
        if (V_VT(&out) == VT_I2)
            V_I2(&out) = static_cast<SHORT>(std::get<std::int64_t>(value));
        else
            V_I4(&out) = static_cast<LONG>(std::get<std::int64_t>(value));  // colours above 0x7FFFFFFF go negative
        break;
    }
}

// The bag's value as the setting's kind; false when it does not convert.
bool FromVariant(const SettingInfo& info, VARIANT& given, SettingValue& out, HRESULT& hr) {
    Variant converted;
    const VARTYPE type = info.kind == SettingKind::Flag ? VT_BOOL : info.kind == SettingKind::Text ? VT_BSTR : VT_I8;
    hr = VariantChangeTypeEx(&converted.v, &given, LOCALE_INVARIANT, 0, type);
    if (FAILED(hr)) return false;
    switch (info.kind) {
    case SettingKind::Flag: out = V_BOOL(&converted.v) != VARIANT_FALSE; break;
    case SettingKind::Text: out = std::u16string(TextView(V_BSTR(&converted.v))); break;
    case SettingKind::Number: {
        std::int64_t number = V_I8(&converted.v);
        // An unsigned 32-bit setting (Color) also comes as the negative long it was saved as.
        if (info.width == 4 && !info.isSigned && number < 0 && number >= INT_MIN) number += std::int64_t{1} << 32;
        out = number;
        break;
    }
    }
    return true;
}

void LogError(IErrorLog* log, const SettingInfo& info, HRESULT hr, const std::u16string& text) {
    if (!log) return;
    EXCEPINFO error{};
    error.scode = hr;
    error.bstrSource = SysAllocString(L"RamvelProj1.Ramvel");
    error.bstrDescription = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    const std::wstring name = Wide(info.name);
    log->AddError(name.c_str(), &error);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
}

std::u16string Shown(VARIANT& given) {
    Variant text;
    if (SUCCEEDED(VariantChangeTypeEx(&text.v, &given, LOCALE_INVARIANT, 0, VT_BSTR)))
        return u"'" + std::u16string(TextView(V_BSTR(&text.v))) + u"'";
    return u"The value";
}

}  // namespace

HRESULT RamvelControl::Load(IPropertyBag* bag, IErrorLog* log) {
    return Member([&]() -> HRESULT {
        if (!bag) return E_POINTER;
        SavedSettings settings = Control().CurrentSettings();
        for (const SettingInfo& info : SavedSettingTable()) {
            if (info.tag == SettingTag::TreeOwnFont) continue;  // FontName or FontSize given make it so
            const std::wstring name = Wide(info.name);
            Variant given;
            if (FAILED(bag->Read(name.c_str(), &given.v, log)) || V_VT(&given.v) == VT_EMPTY) continue;  // keeps its value
            SettingValue value;
            HRESULT hr = S_OK;
            if (!FromVariant(info, given.v, value, hr)) {
                LogError(log, info, hr, Shown(given.v) + u" is not a value " + std::u16string(info.name) + u" takes.");
                continue;
            }
            try {
                SetSetting(settings, info, value);
            } catch (const RamvelError& error) {
                LogError(log, info, error.HResult(), error.Message());
                continue;
            }
            if (IsTreeFont(info)) settings.treeOwnFont = true;
        }
        ApplyLoaded(settings);
        return S_OK;
    });
}

HRESULT RamvelControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    return Member([&]() -> HRESULT {
        if (!bag) return E_POINTER;
        const SavedSettings settings = Control().CurrentSettings();
        // Nothing is written unless all of it would load back.
        for (const SettingInfo& info : SavedSettingTable()) CheckSetting(info, info.get(settings));
        for (const SettingInfo& info : SavedSettingTable()) {
            if (info.tag == SettingTag::TreeOwnFont || (IsTreeFont(info) && !settings.treeOwnFont)) continue;
            Variant value;
            ToVariant(info, info.get(settings), value.v);
            const std::wstring name = Wide(info.name);
            if (const HRESULT hr = bag->Write(name.c_str(), &value.v); FAILED(hr))
                throw RamvelError(u"The property bag took no value " + std::u16string(info.name) + u".", hr);
        }
        if (clearDirty) dirty_ = false;
        return S_OK;
    });
}

}  // namespace ramvel::server
