#pragma once
// A snapshot enumerator (IEnumConnections, IEnumConnectionPoints, IEnumOLEVERB):
// it owns copies of the items and hands out further copies.
#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <memory>
#include <vector>

#include "server/ComPtr.h"
#include "server/ErrorBoundary.h"

namespace ramvel::server {

// Copy policy: `static void Copy(Item& to, const Item& from)` and `static void Clear(Item&)`.
template <typename Interface, typename Item, typename Policy>
class Enumerator final : public Interface {
public:
    // Items shared between clones, which only differ by their position.
    struct Items {
        std::vector<Item> items;
        ~Items() {
            for (Item& item : items) Policy::Clear(item);
        }
    };

    static ComPtr<Interface> Create(const std::vector<Item>& source) {
        auto shared = std::make_shared<Items>();
        shared->items.reserve(source.size());
        for (const Item& item : source) {
            Item copy{};
            Policy::Copy(copy, item);
            shared->items.push_back(copy);
        }
        return ComPtr<Interface>(new Enumerator(std::move(shared), 0));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != __uuidof(Interface)) return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // All or nothing: when a copy fails (out of memory), the copies already made are cleared,
    // nothing is fetched and the position stays.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        if (fetched) *fetched = 0;
        ULONG done = 0;
        const HRESULT hr = ComCall([&] {
            for (; done < count && position_ + done < items_->items.size(); ++done)
                Policy::Copy(out[done], items_->items[position_ + done]);
        });
        if (FAILED(hr)) {
            while (done > 0) Policy::Clear(out[--done]);
            return hr;
        }
        position_ += done;
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        size_t left = items_->items.size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Interface** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return ComCall([&] { *out = new Enumerator(items_, position_); });
    }

private:
    Enumerator(std::shared_ptr<Items> items, size_t position) : items_(std::move(items)), position_(position) {}

    std::atomic<ULONG> refs_{1};
    std::shared_ptr<Items> items_;
    size_t position_;
};

// An interface pointer item, e.g. IConnectionPoint*.
template <typename T>
struct InterfaceItemPolicy {
    static void Copy(T*& to, T* const& from) {
        to = from;
        if (to) to->AddRef();
    }
    static void Clear(T*& item) {
        if (item) item->Release();
        item = nullptr;
    }
};

struct ConnectDataPolicy {
    static void Copy(CONNECTDATA& to, const CONNECTDATA& from) {
        to = from;
        if (to.pUnk) to.pUnk->AddRef();
    }
    static void Clear(CONNECTDATA& item) {
        if (item.pUnk) item.pUnk->Release();
        item.pUnk = nullptr;
    }
};

}  // namespace ramvel::server
