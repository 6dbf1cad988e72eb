// IViewObject2 (drawing the control into a container's DC) and IDataObject (no formats).
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"
#include "win32/Handles.h"

namespace ramvel::server {

// Renders the form (tree view included) off screen, then scales it into `bounds`; with no
// window to print, a plain face-coloured rectangle stands in.
void RamvelControl::DrawForm(HDC dc, const RECT& bounds) {
    HWND form = form_ ? form_->Window() : nullptr;
    RECT client{};
    if (form) GetClientRect(form, &client);
    if (client.right <= 0 || client.bottom <= 0) {
        FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    win32::UniqueDc memory(CreateCompatibleDC(dc));
    win32::UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!memory || !bitmap) throw RamvelError(u"", E_OUTOFMEMORY);
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    FillRect(memory.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(form, WM_PRINT, reinterpret_cast<WPARAM>(memory.get()),
                 PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
    StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, memory.get(), 0,
               0, client.right, client.bottom, SRCCOPY);
    SelectObject(memory.get(), old);
}

HRESULT RamvelControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds, LPCRECTL,
                            BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    return Member([&]() -> HRESULT {
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (!drawDc || !bounds) return E_INVALIDARG;
        DrawForm(drawDc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
        return S_OK;
    });
}

// The control draws with the system palette: it has no colour set of its own.
HRESULT RamvelControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colorSet) {
    if (colorSet) *colorSet = nullptr;
    return S_FALSE;
}

// A live tree is always drawn as it is now: freezing a picture is not offered.
HRESULT RamvelControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze) *freeze = 0;
    return E_NOTIMPL;
}
HRESULT RamvelControl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT RamvelControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    return Member([&] {
        viewAspects_ = aspects;
        viewFlags_ = flags;
        viewSink_ = AddRefed(sink);
    });
}

HRESULT RamvelControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    return Member([&] {
        if (aspects) *aspects = viewAspects_;
        if (flags) *flags = viewFlags_;
        if (sink) *sink = ComPtr<IAdviseSink>(viewSink_).Detach();
    });
}

// The view's extent is the object's (IOleObject::GetExtent).
HRESULT RamvelControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) { return GetExtent(aspect, size); }

// The control offers no data formats: containers take its picture through IViewObject.
HRESULT RamvelControl::GetData(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }
HRESULT RamvelControl::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }
HRESULT RamvelControl::QueryGetData(FORMATETC*) { return DV_E_FORMATETC; }
HRESULT RamvelControl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
}
HRESULT RamvelControl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
HRESULT RamvelControl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
    if (formats) *formats = nullptr;
    return E_NOTIMPL;
}
HRESULT RamvelControl::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT RamvelControl::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT RamvelControl::EnumDAdvise(IEnumSTATDATA** advise) {
    if (advise) *advise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

}  // namespace ramvel::server
