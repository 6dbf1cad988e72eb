// Birth, identity and death of a control object.
#include "server/ControlObject.h"
#include "server/ErrorBoundary.h"
#include "server/ServerModule.h"

namespace ramvel::server {

ModuleObjectCount::ModuleObjectCount() { ObjectCreated(); }
ModuleObjectCount::~ModuleObjectCount() { ObjectDestroyed(); }

// Built in order: the wrapper (counted first), its two connection points, the control object
// with its form (FormCreate runs inside the form's construction), then Initialize wires the
// form's notifications.
RamvelControl::RamvelControl(IUnknown* outer)
    : outer_(outer ? outer : &inner_),
      eventsPoint_(*this, DIID_IRamvelEvents, 1, [this](IUnknown* sink) { OnEventSink(sink); }),
      notifyPoint_(*this, IID_IPropertyNotifySink, SIZE_MAX),
      control_(std::make_unique<TMyRamvel>(messageBox_, win32::ModuleFileName(ModuleHandle()))),
      form_(std::make_unique<win32::ControlForm>(*control_, messageBox_, ModuleHandle())) {
    control_->Initialize();
    form_->SetOwner(&inner_);
    // The default extent: the form's size in HIMETRIC (96 pixels per inch).
    extent_ = {MulDiv(win32::ControlForm::kWidth, 2540, 96), MulDiv(win32::ControlForm::kHeight, 2540, 96)};
}

// Torn down in reverse: the destruction handler runs while the form and the sink are still
// there, then the form goes, then the control object, then the connections; the module count
// drops last.
RamvelControl::~RamvelControl() {
    control_->FormDestroy();
    form_.reset();
    control_.reset();
}

ComPtr<IUnknown> RamvelControl::Create(IUnknown* outer) {
    auto* control = new RamvelControl(outer);
    return ComPtr<IUnknown>(&control->inner_);
}

void* RamvelControl::Find(REFIID riid) {
    if (riid == IID_IUnknown) return &inner_;
    if (riid == IID_IDispatch || riid == IID_IRamvel) return static_cast<IRamvel*>(this);
    if (riid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    if (riid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo*>(this);
    if (riid == IID_IOleObject) return static_cast<IOleObject*>(this);
    if (riid == IID_IOleControl) return static_cast<IOleControl*>(this);
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) return static_cast<IOleInPlaceObject*>(this);
    if (riid == IID_IOleInPlaceActiveObject) return static_cast<IOleInPlaceActiveObject*>(this);
    if (riid == IID_IViewObject || riid == IID_IViewObject2) return static_cast<IViewObject2*>(this);
    if (riid == IID_IDataObject) return static_cast<IDataObject*>(this);
    if (riid == IID_IPersist || riid == IID_IPersistStreamInit) return static_cast<IPersistStreamInit*>(this);
    if (riid == IID_IPersistStorage) return static_cast<IPersistStorage*>(this);
    if (riid == IID_IPersistPropertyBag) return static_cast<IPersistPropertyBag*>(this);
    if (riid == IID_ISpecifyPropertyPages) return static_cast<ISpecifyPropertyPages*>(this);
    if (riid == IID_IPerPropertyBrowsing) return static_cast<IPerPropertyBrowsing*>(this);
    if (riid == IID_ISimpleFrameSite) return static_cast<ISimpleFrameSite*>(this);
    if (riid == IID_IQuickActivate) return static_cast<IQuickActivate*>(this);
    if (riid == IID_IObjectSafety) return static_cast<IObjectSafety*>(this);
    if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    return nullptr;  // IDispatchEx among others: script engines fall back to IDispatch
}

HRESULT RamvelControl::QueryInterface(REFIID riid, void** object) { return outer_->QueryInterface(riid, object); }
ULONG RamvelControl::AddRef() { return outer_->AddRef(); }
ULONG RamvelControl::Release() { return outer_->Release(); }

HRESULT RamvelControl::Inner::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = self.Find(riid);
    if (!*object) return E_NOINTERFACE;
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG RamvelControl::Inner::AddRef() { return ++self.refs_; }

ULONG RamvelControl::Inner::Release() {
    ULONG left = --self.refs_;
    if (left == 0) {
        // A host called from the destruction handler may AddRef/Release us again: keep the
        // count away from zero while we go.
        self.refs_ = ULONG_MAX / 2;
        delete &self;
    }
    return left;
}

}  // namespace ramvel::server
