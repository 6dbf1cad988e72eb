// The module's five hand cursors: the cursor resources it carries, their registration in the
// module's cursor table when it loads (seen through the control's Cursor property), and the
// table's rules (a registration replaces, an id whose resource cannot be loaded is removed).
#include "HostedControl.h"

#include "win32/CursorTable.h"

using namespace comtest;

namespace {

struct HandCursor {
    short id;
    const wchar_t* resource;
    POINT hotSpot;
    bool hotSpotOnShape;  // the hot spot is a drawn pixel (a fingertip, the arrow's tip)
};
const HandCursor kHandCursors[] = {
    {15000, L"PRO_HANDPOINT", {6, 0}, true},     {15001, L"PRO_SMALLHANDPOINT", {13, 9}, true},
    {15002, L"PRO_GRABHAND", {4, 2}, true},      {15003, L"PRO_GRABHANDARROW", {0, 0}, true},
    {15004, L"PRO_DRAGHAND", {0, 0}, false},
};

// A two-colour cursor's pixels, read from its mask bitmap (AND mask above the XOR mask).
struct MonochromePixels {
    int transparent = 0, black = 0, white = 0, inverted = 0;
    bool hotSpotDrawn = false;
};

MonochromePixels Read(HBITMAP mask, POINT hotSpot) {
    MonochromePixels pixels;
    BYTE bits[4 * 64] = {};  // 32 pixels a row, 64 rows
    GetBitmapBits(mask, sizeof bits, bits);
    const auto bit = [&](int x, int y) { return (bits[y * 4 + x / 8] >> (7 - x % 8)) & 1; };
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int andBit = bit(x, y), xorBit = bit(x, y + 32);
            (andBit ? (xorBit ? pixels.inverted : pixels.transparent) : (xorBit ? pixels.white : pixels.black))++;
            if (x == hotSpot.x && y == hotSpot.y) pixels.hotSpotDrawn = andBit == 0;
        }
    }
    return pixels;
}

void Resources(HMODULE module) {
    for (const auto& cursor : kHandCursors) {
        SCOPED_TRACE(cursor.resource);
        const HCURSOR shape = LoadCursorW(module, cursor.resource);
        ASSERT_TRUE(shape != nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(shape, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, cursor.hotSpot.x);
        EXPECT_EQ(info.yHotspot, cursor.hotSpot.y);
        EXPECT_TRUE(info.hbmColor == nullptr);  // two colours: the mask bitmap holds both masks
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        EXPECT_EQ(mask.bmHeight, 64);
        const MonochromePixels pixels = Read(info.hbmMask, cursor.hotSpot);
        EXPECT_TRUE(pixels.transparent > 0 && pixels.black > 0 && pixels.white > 0);
        EXPECT_EQ(pixels.inverted, 0);
        EXPECT_EQ(pixels.hotSpotDrawn, cursor.hotSpotOnShape);
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
}

// Over the control's tree view, as the mouse would be: the shape the control sets for `id`.
void CursorProperty(HostedControl& r, HMODULE module) {
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), hand = LoadCursorW(nullptr, IDC_HAND);
    struct {
        short id;
        HCURSOR shown;
    } cases[] = {
        {15000, LoadCursorW(module, L"PRO_HANDPOINT")},     {15001, LoadCursorW(module, L"PRO_SMALLHANDPOINT")},
        {15002, LoadCursorW(module, L"PRO_GRABHAND")},      {15003, LoadCursorW(module, L"PRO_GRABHANDARROW")},
        {15004, LoadCursorW(module, L"PRO_DRAGHAND")},      {15005, arrow},  // nothing registered there
        {14999, arrow},                                     {-21, hand},     // crHandPoint: the system's hand
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Cursor = " + std::to_string(c.id));
        EXPECT_TRUE(c.shown != nullptr);
        EXPECT_HR(r->put_Cursor(c.id), S_OK);
        short id = 0;
        EXPECT_HR(r->get_Cursor(&id), S_OK);
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(r.ShownCursor() == c.shown);
    }
}

// The table of this program (its own copy of the Win32 layer), filled from a module without the
// cursors and from the real one.
void Table(HMODULE module) {
    using namespace ramvel::win32;
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    RegisterCursor(crProGrabHand, cross);
    RegisterCursor(20000, cross);
    EXPECT_TRUE(RegisteredCursor(crProGrabHand) == cross);
    RegisterHandCursors(GetModuleHandleW(nullptr));  // this program carries no cursors
    for (const auto& cursor : kHandCursors) {
        SCOPED_TRACE(cursor.resource);
        EXPECT_TRUE(RegisteredCursor(cursor.id) == nullptr);  // removed, not kept
    }
    EXPECT_TRUE(RegisteredCursor(20000) == cross);  // other ids stay
    RegisterHandCursors(module);
    for (const auto& cursor : kHandCursors) {
        SCOPED_TRACE(cursor.resource);
        EXPECT_TRUE(RegisteredCursor(cursor.id) == LoadCursorW(module, cursor.resource));
    }
    RegisterCursor(20000, nullptr);
    EXPECT_TRUE(RegisteredCursor(20000) == nullptr);
}

}  // namespace

int main() {
    Apartment apartment;
    Container container;
    HostedControl hosted(container);
    const HMODULE module = GetModuleHandleW(L"Ramvel.ocx");
    if (!module) winecheck::Abort("Ramvel.ocx is not loaded");
    RAMVEL_CASE("the module carries five 32x32 two-colour cursors with their hot spots") { Resources(module); }
    RAMVEL_CASE("registered when the module loads: the Cursor property shows them") {
        CursorProperty(hosted, module);
    }
    RAMVEL_CASE("the cursor table: a registration replaces, a missing resource removes") { Table(module); }
    return winecheck::Report();
}
