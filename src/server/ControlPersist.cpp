// Persistence through a stream (IPersistStreamInit) and a storage (IPersistStorage): the saved
// settings in their binary form (properties/SavedSettings.h). A load reads and checks all of
// it before the control changes, so a refused load leaves the control as it was.
#include <vector>

#include "server/ControlObject.h"

namespace ramvel::server {
namespace {

// The stream a storage keeps the settings in.
constexpr const wchar_t* kContentsStream = L"Contents";

// `size` bytes, or fewer when the stream ends first.
std::vector<std::uint8_t> ReadUpTo(IStream& stream, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::size_t got = 0;
    while (got < size) {
        ULONG read = 0;
        const HRESULT hr = stream.Read(bytes.data() + got, static_cast<ULONG>(size - got), &read);
        if (FAILED(hr)) throw RamvelError(u"The saved Ramvel settings could not be read from the stream.", hr);
        if (read == 0) break;
        got += read;
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

SavedSettings RamvelControl::ReadSettings(IStream& stream) {
    // The header says how much follows; the stream may go on with the container's own data.
    std::vector<std::uint8_t> bytes = ReadUpTo(stream, kSavedHeaderSize);
    const std::vector<std::uint8_t> payload = ReadUpTo(stream, ReadSavedHeader(bytes));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    // A setting the data does not name takes a new control's value.
    return ReadSavedSettings(bytes, Control().NewControlSettings());
}

void RamvelControl::WriteSettings(IStream& stream) {
    const std::vector<std::uint8_t> bytes = WriteSavedSettings(Control().CurrentSettings());
    ULONG written = 0;
    const HRESULT hr = stream.Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr) || written != bytes.size())
        throw RamvelError(u"The Ramvel settings could not be written to the stream.",
                          FAILED(hr) ? hr : STG_E_MEDIUMFULL);
}

void RamvelControl::ApplyLoaded(const SavedSettings& settings) {
    // The next Font get hands out an object made from the loaded font.
    font_.Unbind();
    Control().ApplySettings(settings);
    dirty_ = false;
}

HRESULT RamvelControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Ramvel;
    return S_OK;
}

HRESULT RamvelControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

// --- IPersistStreamInit ----------------------------------------------------------------------

HRESULT RamvelControl::Load(LPSTREAM stream) {
    return Member([&]() -> HRESULT {
        if (!stream) return E_POINTER;
        ApplyLoaded(ReadSettings(*stream));
        return S_OK;
    });
}

HRESULT RamvelControl::Save(LPSTREAM stream, BOOL clearDirty) {
    return Member([&]() -> HRESULT {
        if (!stream) return E_POINTER;
        WriteSettings(*stream);
        if (clearDirty) dirty_ = false;
        return S_OK;
    });
}

HRESULT RamvelControl::GetSizeMax(ULARGE_INTEGER* size) {
    return Member([&]() -> HRESULT {
        if (!size) return E_POINTER;
        size->QuadPart = SavedSizeBound(Control().CurrentSettings());
        return S_OK;
    });
}

HRESULT RamvelControl::InitNew() {
    return Member([&] { ApplyLoaded(Control().NewControlSettings()); });
}

// --- IPersistStorage: the settings in the storage's "Contents" stream ------------------------
// Uninitialized -> (InitNew | Load) -> Normal -> Save -> NoScribble -> SaveCompleted -> Normal;
// HandsOffStorage lets go of the storage until SaveCompleted hands one back.

HRESULT RamvelControl::InitNew(IStorage* storage) {
    return Member([&]() -> HRESULT {
        if (!storage) return E_POINTER;
        if (storageState_ != StorageState::Uninitialized) return CO_E_ALREADYINITIALIZED;
        ApplyLoaded(Control().NewControlSettings());
        storage_ = AddRefed(storage);
        storageState_ = StorageState::Normal;
        return S_OK;
    });
}

HRESULT RamvelControl::Load(IStorage* storage) {
    return Member([&]() -> HRESULT {
        if (!storage) return E_POINTER;
        if (storageState_ != StorageState::Uninitialized) return CO_E_ALREADYINITIALIZED;
        ComPtr<IStream> stream;
        const HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
        if (FAILED(hr)) throw RamvelError(u"The storage holds no Ramvel settings (no \"Contents\" stream).", hr);
        ApplyLoaded(ReadSettings(*stream.Get()));
        storage_ = AddRefed(storage);
        storageState_ = StorageState::Normal;
        return S_OK;
    });
}

HRESULT RamvelControl::Save(IStorage* storage, BOOL sameAsLoad) {
    return Member([&]() -> HRESULT {
        if (!storage) return E_POINTER;
        if (storageState_ != StorageState::Normal && storageState_ != StorageState::NoScribble) return E_UNEXPECTED;
        ComPtr<IStream> stream;
        const HRESULT hr = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                                 stream.Put());
        if (FAILED(hr)) throw RamvelError(u"The storage took no \"Contents\" stream for the Ramvel settings.", hr);
        WriteSettings(*stream.Get());
        if (sameAsLoad) dirty_ = false;
        storageState_ = StorageState::NoScribble;
        return S_OK;
    });
}

HRESULT RamvelControl::SaveCompleted(IStorage* storage) {
    return Member([&]() -> HRESULT {
        switch (storageState_) {
        case StorageState::Uninitialized:
        case StorageState::Normal: return E_UNEXPECTED;
        case StorageState::HandsOff:
            if (!storage) return E_INVALIDARG;
            break;
        case StorageState::NoScribble: break;
        }
        if (storage) {
            // The storage just saved into becomes the control's own: it holds what the control holds.
            if (storageState_ == StorageState::NoScribble || handsOffAfterSave_) dirty_ = false;
            storage_ = AddRefed(storage);
        }
        handsOffAfterSave_ = false;
        storageState_ = StorageState::Normal;
        return S_OK;
    });
}

HRESULT RamvelControl::HandsOffStorage() {
    return Member([&]() -> HRESULT {
        if (storageState_ != StorageState::Normal && storageState_ != StorageState::NoScribble) return E_UNEXPECTED;
        handsOffAfterSave_ = storageState_ == StorageState::NoScribble;
        storage_.Reset();
        storageState_ = StorageState::HandsOff;
        return S_OK;
    });
}

}  // namespace ramvel::server
