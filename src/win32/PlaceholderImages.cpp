// Generated stand-in images: filled squares in a few colours, drawn with a mask.
#include "win32/PlaceholderImages.h"

#include <iterator>

namespace ramvel::win32 {

namespace {

constexpr int kSize = 16;

UniqueImageList MakeList(const COLORREF* colours, int count) {
    UniqueImageList list(ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, count, 4));
    if (!list) return list;
    const HDC screen = GetDC(nullptr);
    UniqueDc dc(CreateCompatibleDC(screen));
    for (int i = 0; i < count; ++i) {
        UniqueBitmap image(CreateCompatibleBitmap(screen, kSize, kSize));
        UniqueBitmap mask(CreateBitmap(kSize, kSize, 1, 1, nullptr));
        HGDIOBJ old = SelectObject(dc.get(), image.get());
        const RECT all{0, 0, kSize, kSize};
        const RECT inner{2, 2, kSize - 2, kSize - 2};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc.get(), &inner, brush);
        DeleteObject(brush);
        // Mask: white (transparent) outside the inner square.
        SelectObject(dc.get(), mask.get());
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FillRect(dc.get(), &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SelectObject(dc.get(), old);
        ImageList_Add(list.get(), image.get(), mask.get());
    }
    ReleaseDC(nullptr, screen);
    return list;
}

constexpr COLORREF kStandard[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 40, 200), RGB(200, 160, 0),
                                  RGB(160, 0, 160), RGB(0, 160, 160), RGB(120, 120, 120), RGB(240, 120, 0)};
constexpr COLORREF kAlternate[] = {RGB(90, 60, 30), RGB(30, 90, 60), RGB(60, 30, 90), RGB(250, 200, 200)};

}  // namespace

PlaceholderImages::PlaceholderImages()
    : standard_(MakeList(kStandard, static_cast<int>(std::size(kStandard)))),
      working_(MakeList(kStandard, static_cast<int>(std::size(kStandard)))),
      alternate_(MakeList(kAlternate, static_cast<int>(std::size(kAlternate)))) {}

HIMAGELIST PlaceholderImages::For(ImageListSlot slot) const {
    switch (slot) {
    case ImageListSlot::Standard: return standard_.get();
    case ImageListSlot::Working: return working_.get();
    case ImageListSlot::Alternate: return alternate_.get();
    case ImageListSlot::None: break;
    }
    return nullptr;
}

}  // namespace ramvel::win32
