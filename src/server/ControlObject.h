#pragma once
// One COM object per control: the control wrapper (OLE control interfaces, connection points,
// dispatch, error boundary) around the core TMyRamvel and its Win32 form.
// The methods live in small files, one interface (or family) each: ControlUnknown.cpp,
// ControlDispatch.cpp, ControlFastDispatch.cpp, ControlTree.cpp, ControlOleObject.cpp,
// ControlProperties.cpp, ControlImages.cpp, ControlAboutBox.cpp,
// ControlInPlace.cpp, ControlView.cpp, ControlPersist.cpp, ControlPropertyBag.cpp,
// ControlOleControl.cpp, ControlAmbient.cpp, ControlQuickActivate.cpp, ControlSafety.cpp,
// ControlConnections.cpp, ControlNotify.cpp.
#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <memory>
#include <utility>

#include "Ramvel_h.h"
#include "control/MyRamvel.h"
#include "server/ComPtr.h"
#include "server/ConnectionPoint.h"
#include "server/ErrorBoundary.h"
#include "server/FontBinding.h"
#include "win32/ControlForm.h"
#include "win32/MessageBoxWin32.h"

namespace ramvel::server {

// Counts the object in the module for exactly its lifetime (first member, last to go).
struct ModuleObjectCount {
    ModuleObjectCount();
    ~ModuleObjectCount();
};

class RamvelControl final : public IRamvel,
                            public ISupportErrorInfo,
                            public IProvideClassInfo,
                            public IOleObject,
                            public IOleControl,
                            public IOleInPlaceObject,
                            public IOleInPlaceActiveObject,
                            public IViewObject2,
                            public IDataObject,
                            public IPersistStreamInit,
                            public IPersistStorage,
                            public IPersistPropertyBag,
                            public ISpecifyPropertyPages,
                            public IPerPropertyBrowsing,
                            public ISimpleFrameSite,
                            public IQuickActivate,
                            public IObjectSafety,
                            public IConnectionPointContainer {
public:
    // Builds a control, aggregated by `outer` when given; returns its own (inner) IUnknown.
    static ComPtr<IUnknown> Create(IUnknown* outer);

    // IUnknown (delegates to the outer object when aggregated).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, driven by the embedded type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

    // IRamvel: properties (ControlProperties.cpp), images (ControlImages.cpp), the about box.
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_AxBorderStyle(TxActiveFormBorderStyle* Value) override;
    HRESULT STDMETHODCALLTYPE put_AxBorderStyle(TxActiveFormBorderStyle Value) override;
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR Value) override;
    HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* Value) override;
    HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR Value) override;
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** Value) override;
    HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* Value) override;
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp** Value) override;
    HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* Value) override;
    HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG Value) override;
    HRESULT STDMETHODCALLTYPE get_PrintScale(TxPrintScale* Value) override;
    HRESULT STDMETHODCALLTYPE put_PrintScale(TxPrintScale Value) override;
    HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR Value) override;
    HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_BiDiMode(TxBiDiMode* Value) override;
    HRESULT STDMETHODCALLTYPE put_BiDiMode(TxBiDiMode Value) override;
    HRESULT STDMETHODCALLTYPE get_Cursor(short* Value) override;
    HRESULT STDMETHODCALLTYPE put_Cursor(short Value) override;
    HRESULT STDMETHODCALLTYPE AboutBox() override;
    HRESULT STDMETHODCALLTYPE ClearImages() override;
    HRESULT STDMETHODCALLTYPE AddImage(BSTR ImageName, LONG* ImageNumber) override;
    HRESULT STDMETHODCALLTYPE ReplaceImage(LONG Index, BSTR ImageName) override;
    HRESULT STDMETHODCALLTYPE imageSize(LONG Width, LONG Height) override;
    HRESULT STDMETHODCALLTYPE resetImages() override;
    HRESULT STDMETHODCALLTYPE put_Lines(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE put_Buttons(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE put_Track(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Images(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_Images(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_FontName(BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE put_FontName(BSTR Value) override;
    HRESULT STDMETHODCALLTYPE get_FontSize(LONG* Value) override;
    HRESULT STDMETHODCALLTYPE put_FontSize(LONG Value) override;
    HRESULT STDMETHODCALLTYPE get_ImageList(LONG* Value) override;
    HRESULT STDMETHODCALLTYPE put_ImageList(LONG Value) override;

    // IRamvel: the tree.
    HRESULT STDMETHODCALLTYPE AddNodes(BSTR NodeParm) override;
    HRESULT STDMETHODCALLTYPE GoToNode(LONG Index, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE AddAfterNode(LONG Node, BSTR NodeParm, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE GotohNode(LONG hNode, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE GethSelectedNode(LONG* Value) override;
    HRESULT STDMETHODCALLTYPE DeleteNode(LONG NodeNumber) override;
    HRESULT STDMETHODCALLTYPE ChangeNode(LONG NodeNumber, BSTR Nodevalue) override;
    HRESULT STDMETHODCALLTYPE FirstChild(LONG hNode, LONG* Value) override;
    HRESULT STDMETHODCALLTYPE GethNode(LONG hNode, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE LastChild(LONG hNode, LONG* Value) override;
    HRESULT STDMETHODCALLTYPE NextSibling(LONG hNode, LONG* Value) override;
    HRESULT STDMETHODCALLTYPE ChildrenNumber(LONG hNode, LONG* Value) override;
    HRESULT STDMETHODCALLTYPE GetNode(LONG hNode, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE DeleteHNode(LONG hNode) override;
    HRESULT STDMETHODCALLTYPE GetSelectedNode(BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE get_Expanded(LONG hNode, VARIANT_BOOL* nodeStatus) override;
    HRESULT STDMETHODCALLTYPE put_Expanded(LONG hNode, VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_TreeRefresh(VARIANT_BOOL* Value) override;
    HRESULT STDMETHODCALLTYPE put_TreeRefresh(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE getParent(LONG hNode, BSTR* Value) override;
    HRESULT STDMETHODCALLTYPE storeHNode(LONG hNode) override;
    HRESULT STDMETHODCALLTYPE AddAfterCurrentNode(BSTR NodeParm) override;

    // ISupportErrorInfo, IProvideClassInfo.
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

    // IOleObject.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                     LPCRECT posRect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // IOleControl.
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT posRect, LPCRECT clipRect) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

    // IViewObject2.
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                   HDC targetDc, HDC drawDc, LPCRECTL bounds, LPCRECTL wBounds,
                                   BOOL(STDMETHODCALLTYPE* continueDraw)(ULONG_PTR), ULONG_PTR continueArg) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                          HDC targetDc, LOGPALETTE** colorSet) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IDataObject.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advise) override;

    // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // ISpecifyPropertyPages, IPerPropertyBrowsing.
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
    HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID id, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID id, CLSID* page) override;
    HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
    HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) override;

    // ISimpleFrameSite.
    HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND window, UINT message, WPARAM wp, LPARAM lp, LRESULT* result,
                                               DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND window, UINT message, WPARAM wp, LPARAM lp,
                                                LRESULT* result, DWORD cookie) override;

    // IQuickActivate.
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

    // IObjectSafety.
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) override;

    // IConnectionPointContainer.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    // The object's own IUnknown: the identity an aggregating outer object holds.
    struct Inner final : IUnknown {
        RamvelControl& self;
        explicit Inner(RamvelControl& owner) : self(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
    };

    explicit RamvelControl(IUnknown* outer);
    ~RamvelControl();

    // Runs a COM member's body (see ComCall). A host may drop its last reference inside an event
    // the body raises: the object holds one of its own until the body is done, and goes then.
    template <typename Body>
    HRESULT Member(Body&& body) noexcept {
        inner_.AddRef();
        const HRESULT hr = ComCall(std::forward<Body>(body));
        inner_.Release();  // may delete this object: nothing of it is touched after
        return hr;
    }

    // A put of a saved setting, as the standard control frameworks run it: the property-notify
    // sinks are asked first, and one that answers S_FALSE vetoes the put, which then changes
    // nothing and answers S_FALSE; otherwise the body runs, the control becomes dirty and the
    // sinks hear OnChanged. While events are frozen the sinks are neither asked nor told.
    template <typename Body>
    HRESULT PutSaved(DISPID id, Body&& body) noexcept {
        return Member([&]() -> HRESULT {
            if (!RequestEdit(id)) return S_FALSE;
            body();
            SettingChanged(id);
            return S_OK;
        });
    }
    // Property-change notifications (ControlNotify.cpp).
    bool RequestEdit(DISPID id);
    void SettingChanged(DISPID id);
    void FormFontChanged(const FontSettings& font);

    // Persistence (ControlPersist.cpp): the settings applied whole, the binary form written.
    void ApplyLoaded(const SavedSettings& settings);
    SavedSettings ReadSettings(IStream& stream);
    void WriteSettings(IStream& stream);

    // Design mode and frozen events (ControlAmbient.cpp).
    void ReadUserMode();
    void SetDesignMode(bool design);
    void UpdateEventHold();

    void* Find(REFIID riid);
    ITypeInfo& DispatchInfo();
    // Serves the hottest late-bound calls without the type library; false: not handled.
    bool TryFastInvoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, HRESULT& hr);
    TMyRamvel& Control() { return *control_; }
    void OnEventSink(IUnknown* sink);
    void ActivateInPlace(bool uiActivate);
    void DeactivateInPlace();
    void DrawForm(HDC dc, const RECT& bounds);

    ModuleObjectCount counted_;
    Inner inner_{*this};
    IUnknown* outer_;
    std::atomic<ULONG> refs_{1};  // the creator's, which Create hands over
    ComPtr<ITypeInfo> dispatchInfo_;  // IRamvel's dispatch description, fetched on first use

    ConnectionPoint eventsPoint_;
    ConnectionPoint notifyPoint_;

    win32::Win32MessageBox messageBox_;
    std::unique_ptr<TMyRamvel> control_;
    std::unique_ptr<win32::ControlForm> form_;
    // The form's font as an OLE font object; its changes reach the control's form font.
    FontBinding font_{[this](const FontSettings& font) { FormFontChanged(font); }};
    bool fontPut_ = false;  // a Font put is binding an object: it notifies once, itself

    // OLE state of the wrapper.
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    SIZEL extent_{};
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    DWORD safety_ = 0;

    // Persistence state: whether a saved setting changed since the last load or save, and
    // where the storage protocol (IPersistStorage) stands.
    bool dirty_ = false;
    enum class StorageState { Uninitialized, Normal, NoScribble, HandsOff };
    StorageState storageState_ = StorageState::Uninitialized;
    bool handsOffAfterSave_ = false;
    ComPtr<IStorage> storage_;

    // The container's ambient UserMode false, and its FreezeEvents count.
    bool designMode_ = false;
    LONG frozen_ = 0;
};

}  // namespace ramvel::server
