#pragma once
// RAII for Win32 handles: one traits template, one alias per handle kind.
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ramvel::win32 {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;
    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Type{}; }
    Type release() { return std::exchange(value_, Type{}); }
    void reset(Type value = Type{}) {
        if (value_ != Type{}) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_{};
};

struct WindowTraits { using Type = HWND; static void Close(HWND h) { DestroyWindow(h); } };
struct FontTraits { using Type = HFONT; static void Close(HFONT h) { DeleteObject(h); } };
struct BitmapTraits { using Type = HBITMAP; static void Close(HBITMAP h) { DeleteObject(h); } };
struct ImageListTraits { using Type = HIMAGELIST; static void Close(HIMAGELIST h) { ImageList_Destroy(h); } };
struct DcTraits { using Type = HDC; static void Close(HDC h) { DeleteDC(h); } };
struct BrushTraits { using Type = HBRUSH; static void Close(HBRUSH h) { DeleteObject(h); } };

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueDc = UniqueHandle<DcTraits>;
using UniqueBrush = UniqueHandle<BrushTraits>;

}  // namespace ramvel::win32
