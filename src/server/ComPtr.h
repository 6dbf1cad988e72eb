#pragma once
// Owning wrappers for COM resources: one traits template, one-line aliases per kind.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace ramvel::server {

// Traits: `Type`, `Invalid()`, `Close(Type)`; optional `Duplicate(Type)` makes the handle copyable.
template <typename Traits>
class Handle {
public:
    using Type = typename Traits::Type;

    Handle() noexcept = default;
    explicit Handle(Type value) noexcept : value_(value) {}
    Handle(const Handle& other) requires requires(Type t) { Traits::Duplicate(t); }
        : value_(Traits::Duplicate(other.value_)) {}
    Handle(Handle&& other) noexcept : value_(other.Detach()) {}
    ~Handle() { Reset(); }

    Handle& operator=(Handle other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }

    Type Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }
    Type Detach() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) noexcept {
        if (Type old = std::exchange(value_, value); old != Traits::Invalid()) Traits::Close(old);
    }
    // For out-parameters: releases what is held first.
    Type* Put() noexcept {
        Reset();
        return &value_;
    }
    Type operator->() const noexcept requires std::is_pointer_v<Type> { return value_; }

private:
    Type value_ = Traits::Invalid();
};

template <typename T>
struct ComTraits {
    using Type = T*;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type p) noexcept { p->Release(); }
    static Type Duplicate(Type p) noexcept {
        if (p) p->AddRef();
        return p;
    }
};

struct BstrTraits {
    using Type = BSTR;
    static constexpr Type Invalid() noexcept { return nullptr; }
    static void Close(Type s) noexcept { SysFreeString(s); }
    static Type Duplicate(Type s) { return s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr; }
};

template <typename T>
using ComPtr = Handle<ComTraits<T>>;
using Bstr = Handle<BstrTraits>;

// Takes a new reference to `p`.
template <typename T>
ComPtr<T> AddRefed(T* p) noexcept {
    if (p) p->AddRef();
    return ComPtr<T>(p);
}

// QueryInterface into a ComPtr; an empty pointer when the object lacks the interface.
template <typename T>
ComPtr<T> QueryAs(IUnknown* object, REFIID iid = __uuidof(T)) noexcept {
    ComPtr<T> result;
    if (object) object->QueryInterface(iid, reinterpret_cast<void**>(result.Put()));
    return result;
}

// BSTR <-> the core's UTF-16 text (a null BSTR reads as the empty text).
std::u16string ToText(BSTR s);
std::u16string_view TextView(BSTR s);
Bstr ToBstr(std::u16string_view text);

}  // namespace ramvel::server
