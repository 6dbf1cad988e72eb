#include "control/TypeAhead.h"

#include <algorithm>

namespace ramvel {

namespace {

// Upper case for the Latin letters of the first 592 code points, which covers the languages
// this control is written for; other characters compare as they are.
char16_t Fold(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs upper and lower case side by side, in two runs.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<char16_t>(c & ~1u);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return static_cast<char16_t>(c % 2 == 0 ? c - 1 : c);
    return c;
}

}  // namespace

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char16_t a, char16_t b) { return Fold(a) == Fold(b); });
}

NodeHandle TypeAhead::Find(const TreeModel& tree, NodeHandle selected, char16_t typed, std::uint32_t nowMs) {
    if (!prefix_.empty() && nowMs - lastMs_ < kPauseMs) prefix_ += typed;
    else prefix_.assign(1, typed);
    lastMs_ = nowMs;

    const VisibleRows rows(tree);
    const Node* start = tree.Find(selected);
    if (start && !rows.IsShown(*start)) start = nullptr;
    // The same letter again and again steps on to the next row starting with it.
    const bool repeated = std::all_of(prefix_.begin(), prefix_.end(), [&](char16_t c) { return c == prefix_[0]; });
    auto search = [&](std::u16string_view wanted, bool fromNext) -> NodeHandle {
        // From the selected row (or the one after it) once round every row, wrapping at the
        // end; without a selection, from the top down.
        const Node* node = start ? (fromNext ? rows.Next(*start) : start) : tree.Find(tree.FirstRoot());
        for (std::uint32_t seen = 0; seen < rows.Count(); ++seen) {
            if (!node) {
                if (!start) return 0;
                node = tree.Find(tree.FirstRoot());
            }
            if (StartsWithFolded(node->Text(), wanted)) return node->handle;
            node = rows.Next(*node);
        }
        return 0;
    };
    if (const NodeHandle found = search(prefix_, prefix_.size() == 1)) return found;
    if (repeated && prefix_.size() > 1) return search(std::u16string_view(prefix_).substr(0, 1), true);
    return 0;
}

}  // namespace ramvel
