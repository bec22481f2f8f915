#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pagelark {

// The elements of a document in text order, each with a shift: what must be
// added to the offsets stored for it to give the offsets in the text. An edit
// moves every element after it. The elements are listed in blocks of a few
// hundred, each block with one shift for all its members, and a move costs
// one step per block and per member of one block on the shorter side of the
// edit, rather than one per element: an edit near either end of a list of
// thousands costs a few steps, one in the middle a few hundred.
class ElementOrder {
  public:
    void Clear();
    // Lists `elements`, given in text order.
    void Assign(const std::vector<int>& elements);

    bool Contains(int element) const {
        return element >= 0 && static_cast<size_t>(element) < m_blockOf.size() &&
               m_blockOf[static_cast<size_t>(element)] >= 0;
    }
    // 0 for an element that is not listed.
    int32_t Shift(int element) const;

    // Lists `element` right after `previous`, or first when `previous` is 0.
    void InsertAfter(int previous, int element);
    // Every element listed after `element` moves by delta.
    void ShiftAfter(int element, int32_t delta);
    // Takes `count` consecutive elements, starting with `first`, off the list.
    void Remove(int first, int count);

    // The listed elements in order.
    std::vector<int> Elements() const;

    // Blocks split above twice this size and merge when two fit in it.
    static constexpr size_t kBlock = 256;

  private:
    struct Block {
        std::vector<int> members;
        int32_t shift = 0;
        int previous = -1;
        int next = -1;
        bool used = false;
    };

    int NewBlockAfter(int block);
    void Unlink(int block);
    void Absorb(int block, int next);
    void Tidy(int block);
    size_t Position(int element) const;
    int& BlockOf(int element) { return m_blockOf[static_cast<size_t>(element)]; }

    std::vector<Block> m_blocks;
    std::vector<int> m_freeBlocks;
    int m_first = -1;
    int32_t m_shared = 0;        // a shift all elements share
    std::vector<int> m_blockOf;  // -1 for an element not listed
    std::vector<int32_t> m_own;  // each element's shift less its block's
};

}  // namespace pagelark
