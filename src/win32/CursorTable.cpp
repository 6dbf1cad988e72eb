// The module's cursor table and the hand cursors it starts with.
#include "win32/CursorTable.h"

#include <map>

namespace ramvel::win32 {
namespace {

// The module that holds this code: the control's module, or a test program linking this layer.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::map<std::int16_t, HCURSOR>& Entries() {
    static std::map<std::int16_t, HCURSOR> entries;
    return entries;
}

// Puts `shape` under `id`; none removes the id.
void Put(std::int16_t id, HCURSOR shape) {
    if (shape) {
        Entries()[id] = shape;
    } else {
        Entries().erase(id);
    }
}

// The hand cursors go in on the table's first use, not while the module loads: loading them
// calls user32 and allocates, which the loader lock forbids. The run-time's guard of the static
// makes the first use safe on any thread; afterwards the table is only read.
std::map<std::int16_t, HCURSOR>& Table() {
    static const bool filled = (RegisterHandCursors(ThisModule()), true);
    (void)filled;
    return Entries();
}

}  // namespace

HCURSOR RegisteredCursor(std::int16_t id) {
    const auto found = Table().find(id);
    return found == Table().end() ? nullptr : found->second;
}

void RegisterCursor(std::int16_t id, HCURSOR shape) {
    Table();  // the hand cursors first, so they never overwrite a later registration
    Put(id, shape);
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
    for (const auto& cursor : kHandCursors) Put(cursor.id, LoadCursorW(module, cursor.resource));
}

}  // namespace ramvel::win32
