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
    live_ = garbage_ = 0;
}

char16_t* NodeTexts::Reserve(std::size_t chars) {
    if ((blocks_.empty() || blocks_.back().capacity - blocks_.back().used < chars) && !blocks_.empty() &&
        chars <= kBlockChars && !spare_.empty()) {
        blocks_.push_back(spare_.back());
        spare_.pop_back();
    }
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < chars) {
        // Small trees stay on one small block; big ones get full blocks backed by huge pages.
        const std::size_t wanted = blocks_.empty() ? kBlockChars / 16 : kBlockChars;
        const std::size_t capacity = std::max(wanted, chars);
        const bool huge = capacity >= kBlockChars;
        auto* data = static_cast<char16_t*>(AllocateBlock(capacity * sizeof(char16_t), huge));
        blocks_.push_back({data, capacity, 0});
    }
    Block& block = blocks_.back();
    char16_t* at = block.data + block.used;
    block.used += chars;
    return at;
}

void NodeTexts::Set(NodeText& node, std::u16string_view text, std::u16string_view record) {
    const std::size_t size = text.size() + record.size() + 2;
    char16_t* entry = Reserve(size);
    std::memcpy(entry, text.data(), text.size() * sizeof(char16_t));
    entry[text.size()] = 0;
    std::memcpy(entry + text.size() + 1, record.data(), record.size() * sizeof(char16_t));
    entry[size - 1] = 0;
    Release(node);
    node.entry = entry;
    node.textLength = static_cast<std::uint32_t>(text.size());
    node.recordLength = static_cast<std::uint32_t>(record.size());
    live_ += size;
}

void NodeTexts::SetRecord(NodeText& node, std::u16string_view record) {
    if (node.entry && !blocks_.empty()) {
        Block& block = blocks_.back();
        char16_t* recordAt = node.entry + node.textLength + 1;
        const bool newest = recordAt + node.recordLength + 1 == block.data + block.used;
        if (newest && recordAt + record.size() + 1 <= block.data + block.capacity) {
            std::memcpy(recordAt, record.data(), record.size() * sizeof(char16_t));
            recordAt[record.size()] = 0;
            block.used = static_cast<std::size_t>(recordAt + record.size() + 1 - block.data);
            live_ = live_ - node.recordLength + record.size();
            node.recordLength = static_cast<std::uint32_t>(record.size());
            return;
        }
    }
    // Copy the text first: Set releases the old entry it points into.
    const NodeText old = node;
    Set(node, old.Text(), record);
}

void NodeTexts::DropRecord(NodeText& node) {
    if (!node.entry || node.recordLength == 0) return;
    live_ -= node.recordLength;
    garbage_ += node.recordLength;
    node.entry[node.textLength + 1] = 0;
    node.recordLength = 0;
}

void NodeTexts::Release(NodeText& node) {
    if (!node.entry) return;
    const std::size_t size = node.EntrySize();
    live_ -= size;
    garbage_ += size;
    node = NodeText{};
}

}  // namespace ramvel
