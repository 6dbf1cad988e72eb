#pragma once
// The texts of one tree's nodes (shown text and node record), packed into large blocks
// instead of two heap strings per node. Each node's entry is its text, a NUL, its record
// and a NUL, so the widget can take the text as a C string.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ramvel {

struct NodeText {
    char16_t* entry = nullptr;
    std::uint32_t textLength = 0;
    std::uint32_t recordLength = 0;

    std::u16string_view Text() const { return {entry, entry ? textLength : 0}; }
    const char16_t* TextZ() const { return entry ? entry : u""; }
    std::u16string_view Record() const { return {entry ? entry + textLength + 1 : nullptr, entry ? recordLength : 0}; }
    std::size_t EntrySize() const { return entry ? textLength + recordLength + 2 : 0; }
};

class NodeTexts {
public:
    NodeTexts() = default;
    ~NodeTexts();
    NodeTexts(const NodeTexts&) = delete;
    NodeTexts& operator=(const NodeTexts&) = delete;

    // A new entry with this text and record; the old entry (if any) becomes garbage.
    void Set(NodeText& node, std::u16string_view text, std::u16string_view record);
    // Replaces the record only; written in place when the entry is the newest one.
    void SetRecord(NodeText& node, std::u16string_view record);
    // The record becomes empty; its room is garbage until the next compaction.
    void DropRecord(NodeText& node);
    // The node gives its entry up.
    void Release(NodeText& node);
    void Clear();

    // Live entries are copied into fresh blocks once garbage outweighs them.
    bool NeedsCompaction() const { return garbage_ > kBlockChars && garbage_ > live_; }
    // Moves every given entry into one fresh block. The old full-size blocks are kept for the
    // entries to come: their pages are in memory already, so writing there costs no faults.
    // Out of memory, it throws std::bad_alloc before anything moved.
    template <typename ForEachNode>
    void Compact(ForEachNode&& forEachNode) {
        spare_.reserve(spare_.size() + blocks_.size());
        std::vector<Block> fresh;
        fresh.reserve(1);
        fresh.push_back(NewBlock(std::max(live_, kBlockChars)));
        // Nothing below allocates: every entry fits in the fresh block.
        fresh.swap(blocks_);
        live_ = garbage_ = 0;
        forEachNode([&](NodeText& node) {
            if (!node.entry) return;
            const NodeText copy = node;
            node.entry = nullptr;
            Set(node, copy.Text(), copy.Record());
        });
        for (Block& block : fresh) {
            if (block.capacity == kBlockChars) spare_.push_back({block.data, block.capacity, 0});
            else FreeBlock(block);
        }
    }

    std::size_t LiveChars() const { return live_; }

private:
    static constexpr std::size_t kBlockChars = std::size_t{1} << 20;  // 2 MB
    struct Block {
        char16_t* data;
        std::size_t capacity;
        std::size_t used;
    };
    char16_t* Reserve(std::size_t chars);
    // A block of `chars`, from the spare ones when it is of their size.
    Block NewBlock(std::size_t chars);
    static void FreeBlock(Block& block);

    std::vector<Block> blocks_;  // the last one takes new entries
    std::vector<Block> spare_;   // emptied by the last compaction, taken before new ones
    std::size_t live_ = 0, garbage_ = 0;
};

}  // namespace ramvel
