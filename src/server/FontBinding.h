#pragma once
// The form's font as a standard OLE font object: the object bound to it, whose property
// changes flow into the form's font as they happen.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>

#include "platform/FormWindow.h"
#include "server/ComPtr.h"

namespace ramvel::server {

class FontBinding {
public:
    using OnChange = std::function<void(const FontSettings&)>;
    // `onChange` receives the form's font as the bound object now describes it.
    explicit FontBinding(OnChange onChange) : onChange_(std::move(onChange)) {}
    ~FontBinding() { Unbind(); }
    FontBinding(const FontBinding&) = delete;
    FontBinding& operator=(const FontBinding&) = delete;

    // The bound object; a new one made from `font` when none is bound.
    ComPtr<IFontDisp> Get(const FontSettings& font);
    // Binds `object` and copies it into the form's font at once; null unbinds. Throws
    // RamvelError (E_NOINTERFACE) for an object that is not a font, before anything changes.
    void Bind(IFontDisp* object, const FontSettings& current);
    void Unbind();

private:
    class Listener;
    void Copy();

    OnChange onChange_;
    FontSettings base_;  // what the object does not carry (colour, pixels per inch)
    ComPtr<IFont> font_;
    ComPtr<IConnectionPoint> point_;
    ComPtr<IPropertyNotifySink> listener_;
    DWORD cookie_ = 0;
};

}  // namespace ramvel::server
