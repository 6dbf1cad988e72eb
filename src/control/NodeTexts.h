#pragma once
// The texts of one tree's nodes (shown text and node record), packed into large blocks
// instead of two heap strings per node. Each node's entry is a header, its text, a NUL, its
// record and a NUL, so the widget can take the text as a C string.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/TreeWidget.h"

namespace ramvel {

// What describing a node takes besides its texts, handle and index, kept in front of the texts:
// a lookup by index then reads one place (the handle comes with the index), not the node and
// its texts one after the other.
struct EntryHeader {
    std::uint32_t textLength = 0;
    std::uint32_t recordLength = 0;
    std::int32_t stateImage = -1;
};

// The header as stored, 8 bytes: lengths below 65,535 take 16 bits each. An entry with a longer
// text or record is written in the long form: both lengths marked here, and kept whole in the
// 8 bytes in front.
struct StoredHeader {
    static constexpr std::uint16_t kLongMark = 0xFFFF;
    std::uint16_t textLength;
    std::uint16_t recordLength;
    std::int32_t stateImage;
};
static_assert(sizeof(StoredHeader) == 8);
struct LongLengths {
    std::uint32_t textLength;
    std::uint32_t recordLength;
};

struct NodeText {
    static constexpr std::size_t kHeaderChars = sizeof(StoredHeader) / sizeof(char16_t);
    static constexpr std::size_t kLongChars = sizeof(LongLengths) / sizeof(char16_t);

    char16_t* entry = nullptr;  // the text; the header lies just before it

    EntryHeader Header() const {
        EntryHeader header;
        if (!entry) return header;
        // Entries lie at any even address: the header is copied, not read in place.
        StoredHeader stored;
        std::memcpy(static_cast<void*>(&stored), entry - kHeaderChars, sizeof stored);
        header.stateImage = stored.stateImage;
        if (stored.textLength == StoredHeader::kLongMark) {
            LongLengths lengths;
            std::memcpy(static_cast<void*>(&lengths), entry - kHeaderChars - kLongChars, sizeof lengths);
            header.textLength = lengths.textLength;
            header.recordLength = lengths.recordLength;
        } else {
            header.textLength = stored.textLength;
            header.recordLength = stored.recordLength;
        }
        return header;
    }
    std::u16string_view Text() const { return {entry, Header().textLength}; }
    const char16_t* TextZ() const { return entry ? entry : u""; }
    std::u16string_view Record() const {
        const EntryHeader header = Header();
        return {entry ? entry + header.textLength + 1 : nullptr, header.recordLength};
    }
    std::int32_t StateImage() const { return Header().stateImage; }
    // Text, record and their terminators.
    std::size_t EntrySize() const {
        const EntryHeader header = Header();
        return entry ? header.textLength + header.recordLength + 2 : 0;
    }
    // Whether the entry is written in the long form, which holds lengths of any size.
    bool LongForm() const {
        return entry && entry[-static_cast<std::ptrdiff_t>(kHeaderChars)] == StoredHeader::kLongMark;
    }
    static bool NeedsLongForm(std::size_t textLength, std::size_t recordLength) {
        return textLength >= StoredHeader::kLongMark || recordLength >= StoredHeader::kLongMark;
    }
    // The room in front of the text: the header, and the whole lengths of the long form.
    std::size_t HeadChars() const { return kHeaderChars + (LongForm() ? kLongChars : 0); }
    // All the room the entry takes, its header included.
    std::size_t Room() const { return entry ? EntrySize() + HeadChars() : 0; }

    // Written into the header: a node without an entry has none.
    void SetStateImage(std::int32_t image) { Update([&](EntryHeader& header) { header.stateImage = image; }); }

private:
    friend class NodeTexts;
    // Writes the header of the entry at `text`, in the long form or the short one (whose
    // lengths must fit).
    static void WriteHeader(char16_t* text, const EntryHeader& header, bool longForm) {
        StoredHeader stored{StoredHeader::kLongMark, StoredHeader::kLongMark, header.stateImage};
        if (longForm) {
            const LongLengths lengths{header.textLength, header.recordLength};
            std::memcpy(text - kHeaderChars - kLongChars, &lengths, sizeof lengths);
        } else {
            stored.textLength = static_cast<std::uint16_t>(header.textLength);
            stored.recordLength = static_cast<std::uint16_t>(header.recordLength);
        }
        std::memcpy(text - kHeaderChars, &stored, sizeof stored);
    }
    // Changes the header in place, in the entry's own form.
    template <typename Change>
    void Update(Change&& change) {
        if (!entry) return;
        EntryHeader header = Header();
        change(header);
        WriteHeader(entry, header, LongForm());
    }
};

class NodeTexts {
public:
    NodeTexts() = default;
    ~NodeTexts();
    NodeTexts(const NodeTexts&) = delete;
    NodeTexts& operator=(const NodeTexts&) = delete;

    // A new entry with this text and record; the old entry (if any) becomes garbage. The
    // state image stays.
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
            const std::size_t room = node.Room();
            const std::size_t head = node.HeadChars();
            char16_t* copy = Reserve(room);
            std::memcpy(copy, node.entry - head, room * sizeof(char16_t));
            node.entry = copy + head;
            live_ += room;
        });
        for (Block& block : fresh) {
            if (block.capacity == kBlockChars) spare_.push_back({block.data, block.capacity, 0});
            else FreeBlock(block);
        }
    }

    // Characters the live texts and records take, their terminators included.
    std::size_t LiveChars() const { return live_ - heads_; }

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
    // Room in characters, headers included: the live entries', and the garbage's.
    std::size_t live_ = 0, garbage_ = 0;
    std::size_t heads_ = 0;  // the live entries' room in front of their texts
};

}  // namespace ramvel
