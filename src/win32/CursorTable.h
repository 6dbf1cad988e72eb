#pragma once
// The module's cursor table: pointer shapes registered under cursor ids, shared by every form
// of the module (the control's Cursor property, the about dialog's labels). The standard ids
// map to the system's own cursors elsewhere; this table holds what the module adds.
#include <windows.h>

#include <cstdint>

namespace ramvel::win32 {

// The hand cursors the module adds, on the table's first use.
inline constexpr std::int16_t crProHandPoint = 15000;
inline constexpr std::int16_t crProSmallHandPoint = 15001;
inline constexpr std::int16_t crProGrabHand = 15002;
inline constexpr std::int16_t crProGrabHandArrow = 15003;
inline constexpr std::int16_t crProDragHand = 15004;

// The shape registered under `id`, or none. The first call of either function fills the table
// with the hand cursors of the module holding this code.
HCURSOR RegisteredCursor(std::int16_t id);
// Puts `shape` under `id`, replacing what was there; none removes the id.
void RegisterCursor(std::int16_t id, HCURSOR shape);

// Loads the five hand cursors (resources PRO_HANDPOINT... of `module`) into the table under
// 15000 to 15004, in id order. An id whose resource cannot be loaded is removed instead.
void RegisterHandCursors(HINSTANCE module);

}  // namespace ramvel::win32
