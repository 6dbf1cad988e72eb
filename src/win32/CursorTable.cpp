// The module's cursor table and the hand cursors it starts with.
#include "win32/CursorTable.h"

#include <map>

namespace ramvel::win32 {
namespace {

// Filled once while the module loads, read afterwards: no lock.
std::map<std::int16_t, HCURSOR>& Table() {
    static std::map<std::int16_t, HCURSOR> table;
    return table;
}

}  // namespace

HCURSOR RegisteredCursor(std::int16_t id) {
    const auto found = Table().find(id);
    return found == Table().end() ? nullptr : found->second;
}

void RegisterCursor(std::int16_t id, HCURSOR shape) {
    if (shape) {
        Table()[id] = shape;
    } else {
        Table().erase(id);
    }
}

void RegisterHandCursors(HINSTANCE module) {
    static constexpr struct {
        std::int16_t id;
        const wchar_t* resource;
    } kHandCursors[] = {
        {crProHandPoint, L"PRO_HANDPOINT"},   {crProSmallHandPoint, L"PRO_SMALLHANDPOINT"},
        {crProGrabHand, L"PRO_GRABHAND"},     {crProGrabHandArrow, L"PRO_GRABHANDARROW"},
        {crProDragHand, L"PRO_DRAGHAND"},
    };
    // Shared cursors: the system keeps them for the module's lifetime, nothing frees them.
    for (const auto& cursor : kHandCursors) RegisterCursor(cursor.id, LoadCursorW(module, cursor.resource));
}

}  // namespace ramvel::win32
