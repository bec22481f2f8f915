#include "files/ElementOrder.h"

#include <algorithm>

namespace pagelark {

void ElementOrder::Clear() {
    m_blocks.clear();
    m_freeBlocks.clear();
    m_first = -1;
    m_shared = 0;
    m_blockOf.clear();
    m_own.clear();
}

void ElementOrder::Assign(const std::vector<int>& elements) {
    Clear();
    int block = -1;
    for (const int element : elements) {
        if (block < 0 || m_blocks[static_cast<size_t>(block)].members.size() >= kBlock)
            block = NewBlockAfter(block);
        m_blocks[static_cast<size_t>(block)].members.push_back(element);
        const size_t index = static_cast<size_t>(element);
        if (index >= m_blockOf.size()) {
            m_blockOf.resize(index + 1, -1);
            m_own.resize(index + 1, 0);
        }
        m_blockOf[index] = block;
        m_own[index] = 0;
    }
}

int32_t ElementOrder::Shift(int element) const {
    if (!Contains(element)) return 0;
    const size_t index = static_cast<size_t>(element);
    return m_shared + m_blocks[static_cast<size_t>(m_blockOf[index])].shift + m_own[index];
}

size_t ElementOrder::Position(int element) const {
    const std::vector<int>& members = m_blocks[static_cast<size_t>(m_blockOf[element])].members;
    return static_cast<size_t>(std::find(members.begin(), members.end(), element) -
                               members.begin());
}

void ElementOrder::InsertAfter(int previous, int element) {
    const size_t index = static_cast<size_t>(element);
    if (index >= m_blockOf.size()) {
        m_blockOf.resize(std::max(index + 1, m_blockOf.size() * 3 / 2), -1);
        m_own.resize(m_blockOf.size(), 0);
    }
    int block = m_first;
    size_t position = 0;
    if (previous != 0) {
        block = BlockOf(previous);
        position = Position(previous) + 1;
    } else if (block < 0) {
        block = NewBlockAfter(-1);
    }
    std::vector<int>& members = m_blocks[static_cast<size_t>(block)].members;
    members.insert(members.begin() + static_cast<std::ptrdiff_t>(position), element);
    m_blockOf[index] = block;
    m_own[index] = 0;
    if (members.size() <= 2 * kBlock) return;

    // Split in halves; the new block takes the same shift, so no member moves.
    const int half = NewBlockAfter(block);
    Block& full = m_blocks[static_cast<size_t>(block)];
    Block& second = m_blocks[static_cast<size_t>(half)];
    second.shift = full.shift;
    second.members.assign(full.members.begin() + kBlock, full.members.end());
    full.members.resize(kBlock);
    for (const int moved : second.members)
        BlockOf(moved) = half;
}

void ElementOrder::ShiftAfter(int element, int32_t delta) {
    // Moving what follows by delta is moving everything, through the shift all
    // elements share, and what precedes back: walk whichever side is shorter.
    const int block = BlockOf(element);
    int forward = m_blocks[static_cast<size_t>(block)].next;
    int backward = m_blocks[static_cast<size_t>(block)].previous;
    while (forward >= 0 && backward >= 0) {
        forward = m_blocks[static_cast<size_t>(forward)].next;
        backward = m_blocks[static_cast<size_t>(backward)].previous;
    }
    const bool moveFollowing = forward < 0;
    int32_t blockShift = 0;  // added to the element's own block
    if (moveFollowing) {
        for (int b = m_blocks[static_cast<size_t>(block)].next; b >= 0;
             b = m_blocks[static_cast<size_t>(b)].next)
            m_blocks[static_cast<size_t>(b)].shift += delta;
    } else {
        m_shared += delta;
        for (int b = m_blocks[static_cast<size_t>(block)].previous; b >= 0;
             b = m_blocks[static_cast<size_t>(b)].previous)
            m_blocks[static_cast<size_t>(b)].shift -= delta;
        blockShift = -delta;
    }
    // Within the block the members after the element move by delta relative
    // to those up to it; again the shorter side is touched.
    Block& own = m_blocks[static_cast<size_t>(block)];
    const size_t split = Position(element) + 1;
    if (own.members.size() - split < split) {
        for (size_t i = split; i < own.members.size(); ++i)
            m_own[static_cast<size_t>(own.members[i])] += delta;
    } else {
        for (size_t i = 0; i < split; ++i)
            m_own[static_cast<size_t>(own.members[i])] -= delta;
        blockShift += delta;
    }
    own.shift += blockShift;
}

void ElementOrder::Remove(int first, int count) {
    int block = BlockOf(first);
    size_t position = Position(first);
    std::vector<int> touched;
    while (count > 0 && block >= 0) {
        std::vector<int>& members = m_blocks[static_cast<size_t>(block)].members;
        const size_t take = std::min(static_cast<size_t>(count), members.size() - position);
        const auto from = members.begin() + static_cast<std::ptrdiff_t>(position);
        for (auto it = from; it != from + static_cast<std::ptrdiff_t>(take); ++it)
            BlockOf(*it) = -1;
        members.erase(from, from + static_cast<std::ptrdiff_t>(take));
        count -= static_cast<int>(take);
        touched.push_back(block);
        block = m_blocks[static_cast<size_t>(block)].next;
        position = 0;
    }
    for (const int b : touched)
        Tidy(b);
}

std::vector<int> ElementOrder::Elements() const {
    std::vector<int> elements;
    for (int b = m_first; b >= 0; b = m_blocks[static_cast<size_t>(b)].next) {
        const std::vector<int>& members = m_blocks[static_cast<size_t>(b)].members;
        elements.insert(elements.end(), members.begin(), members.end());
    }
    return elements;
}

int ElementOrder::NewBlockAfter(int block) {
    int fresh;
    if (!m_freeBlocks.empty()) {
        fresh = m_freeBlocks.back();
        m_freeBlocks.pop_back();
    } else {
        fresh = static_cast<int>(m_blocks.size());
        m_blocks.emplace_back();
    }
    Block& b = m_blocks[static_cast<size_t>(fresh)];
    b = Block{};
    b.used = true;
    b.previous = block;
    b.next = block >= 0 ? m_blocks[static_cast<size_t>(block)].next : m_first;
    if (b.next >= 0) m_blocks[static_cast<size_t>(b.next)].previous = fresh;
    if (block >= 0)
        m_blocks[static_cast<size_t>(block)].next = fresh;
    else
        m_first = fresh;
    return fresh;
}

void ElementOrder::Unlink(int block) {
    Block& b = m_blocks[static_cast<size_t>(block)];
    if (b.previous >= 0)
        m_blocks[static_cast<size_t>(b.previous)].next = b.next;
    else
        m_first = b.next;
    if (b.next >= 0) m_blocks[static_cast<size_t>(b.next)].previous = b.previous;
    b = Block{};
    m_freeBlocks.push_back(block);
}

// Moves the members of `next`, the block after `block`, to the end of `block`.
void ElementOrder::Absorb(int block, int next) {
    Block& into = m_blocks[static_cast<size_t>(block)];
    const Block& from = m_blocks[static_cast<size_t>(next)];
    for (const int moved : from.members) {
        m_own[static_cast<size_t>(moved)] += from.shift - into.shift;
        BlockOf(moved) = block;
    }
    into.members.insert(into.members.end(), from.members.begin(), from.members.end());
    Unlink(next);
}

// After removals: an empty block goes, a small one joins a neighbour it fits
// with, so the list never holds many more blocks than its size calls for.
void ElementOrder::Tidy(int block) {
    const Block& b = m_blocks[static_cast<size_t>(block)];
    if (!b.used) return;
    if (b.members.empty()) return Unlink(block);
    if (b.next >= 0 &&
        b.members.size() + m_blocks[static_cast<size_t>(b.next)].members.size() <= kBlock)
        return Absorb(block, b.next);
    if (b.previous >= 0 &&
        b.members.size() + m_blocks[static_cast<size_t>(b.previous)].members.size() <= kBlock)
        Absorb(b.previous, block);
}

}  // namespace pagelark
