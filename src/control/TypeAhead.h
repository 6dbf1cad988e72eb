#pragma once
// Typing on the tree moves the selection to the next shown row whose text starts with what
// was typed, as the tree view does: characters typed in quick succession build up the prefix,
// a single character looks from the row after the selected one, a longer prefix from the
// selected row itself, the search wraps once around, and typing one letter again and again
// steps through the rows that start with it. Letters match without regard to case.
#include <cstdint>
#include <string>

#include "control/VisibleRows.h"

namespace ramvel {

class TypeAhead {
public:
    // Characters further apart than this start a new prefix (about what the tree view waits).
    static constexpr std::uint32_t kPauseMs = 500;

    // The row to select for `typed` at `nowMs` (any millisecond clock), with `selected` the
    // selected node (0: none); 0 when no row matches.
    NodeHandle Find(const TreeModel& tree, NodeHandle selected, char16_t typed, std::uint32_t nowMs);

private:
    std::u16string prefix_;
    std::uint32_t lastMs_ = 0;
};

// Whether `text` starts with `prefix`, letters compared without regard to case.
bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix);

}  // namespace ramvel
