#include "control/NodeTexts.h"

#include <algorithm>
#include <cstring>

#include "control/BigBlocks.h"

namespace ramvel {

NodeTexts::~NodeTexts() { Clear(); }

void NodeTexts::FreeBlock(Block& block) { ramvel::FreeBlock(block.data, block.capacity * sizeof(char16_t)); }

void NodeTexts::Clear() {
    for (Block& block : blocks_) FreeBlock(block);
    for (Block& block : spare_) FreeBlock(block);
    blocks_.clear();
    spare_.clear();
    live_ = garbage_ = heads_ = 0;
}

NodeTexts::Block NodeTexts::NewBlock(std::size_t chars) {
    if (chars == kBlockChars && !spare_.empty()) {
        const Block spare = spare_.back();
        spare_.pop_back();
        return spare;
    }
    // Small trees stay on one small block; big ones get full blocks backed by huge pages.
    const bool huge = chars >= kBlockChars;
    return {static_cast<char16_t*>(AllocateBlock(chars * sizeof(char16_t), huge)), chars, 0};
}

char16_t* NodeTexts::Reserve(std::size_t chars) {
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < chars) {
        const std::size_t wanted = blocks_.empty() ? kBlockChars / 16 : kBlockChars;
        blocks_.reserve(blocks_.size() + 1);  // first, so that the new block cannot be lost
        blocks_.push_back(NewBlock(std::max(wanted, chars)));
    }
    Block& block = blocks_.back();
    char16_t* at = block.data + block.used;
    block.used += chars;
    return at;
}

namespace {

bool PointsInto(const NodeText& node, std::u16string_view view) {
    return !view.empty() && view.data() >= node.entry && view.data() < node.entry + node.EntrySize();
}

}  // namespace

void NodeTexts::Set(NodeText& node, std::u16string_view text, std::u16string_view record) {
    const std::size_t size = text.size() + record.size() + 2;
    EntryHeader header = node.Header();
    const std::size_t oldSize = node.EntrySize();
    const bool longForm = NodeText::NeedsLongForm(text.size(), record.size());
    // New texts that fit in the node's entry, and its form, and are not read from it, are
    // written over it: no new room to fault in, no garbage to compact later. What the entry no
    // longer uses is garbage.
    const bool inPlace = size <= oldSize && (!longForm || node.LongForm()) && !PointsInto(node, text) &&
                         !PointsInto(node, record);
    const std::size_t head = longForm ? NodeText::kHeaderChars + NodeText::kLongChars : NodeText::kHeaderChars;
    char16_t* entry = inPlace ? node.entry : Reserve(size + head) + head;
    header.textLength = static_cast<std::uint32_t>(text.size());
    header.recordLength = static_cast<std::uint32_t>(record.size());
    NodeText::WriteHeader(entry, header, inPlace ? node.LongForm() : longForm);
    // std::copy, not memcpy: an empty view may carry a null pointer, which memcpy must not get.
    std::copy(text.begin(), text.end(), entry);
    entry[text.size()] = 0;
    std::copy(record.begin(), record.end(), entry + text.size() + 1);
    entry[size - 1] = 0;
    if (inPlace) {
        live_ -= oldSize - size;
        garbage_ += oldSize - size;
    } else {
        Release(node);
        live_ += size + head;
        heads_ += head;
    }
    node.entry = entry;
}

void NodeTexts::SetRecord(NodeText& node, std::u16string_view record) {
    if (node.entry && !blocks_.empty()) {
        Block& block = blocks_.back();
        const EntryHeader header = node.Header();
        char16_t* recordAt = node.entry + header.textLength + 1;
        const bool newest = recordAt + header.recordLength + 1 == block.data + block.used;
        const bool fits = recordAt + record.size() + 1 <= block.data + block.capacity &&
                          (node.LongForm() || !NodeText::NeedsLongForm(header.textLength, record.size()));
        if (newest && fits) {
            std::copy(record.begin(), record.end(), recordAt);
            recordAt[record.size()] = 0;
            block.used = static_cast<std::size_t>(recordAt + record.size() + 1 - block.data);
            live_ = live_ - header.recordLength + record.size();
            node.Update([&](EntryHeader& changed) { changed.recordLength = static_cast<std::uint32_t>(record.size()); });
            return;
        }
    }
    // Copy the text first: Set releases the old entry it points into.
    const NodeText old = node;
    Set(node, old.Text(), record);
}

void NodeTexts::DropRecord(NodeText& node) {
    const EntryHeader header = node.Header();
    if (!node.entry || header.recordLength == 0) return;
    live_ -= header.recordLength;
    garbage_ += header.recordLength;
    node.entry[header.textLength + 1] = 0;
    node.Update([](EntryHeader& changed) { changed.recordLength = 0; });
}

void NodeTexts::Release(NodeText& node) {
    if (!node.entry) return;
    const std::size_t room = node.Room();
    live_ -= room;
    garbage_ += room;
    heads_ -= node.HeadChars();
    node = NodeText{};
}

}  // namespace ramvel
