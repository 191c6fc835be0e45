#ifndef ORVALLE_ELEMENT_STORAGE_H
#define ORVALLE_ELEMENT_STORAGE_H

#include <algorithm>
#include <cstddef>

// The memory of every element, of the game's classes and of callers' own, and of what an element
// sees (Vision): slots of a few sizes
// carved one after another from large chunks, with nothing between them. A world makes its
// elements in the order the sweep visits them, so the sweep reads them as one stream; a heap
// block per element would put the allocator's own bookkeeping between every two of them and
// slow a dense world's pass by about a sixth. A freed slot is kept for the next element of its
// size, and the chunks live until the last element ends, so an element outlives its world when
// its owner asks. Elements are made and ended on one thread. Leak checkers see the chunks, not
// the slots: tests count the ends of elements where ending them matters.
class ElementStorage {
  public:
    static void* allocate(std::size_t size);
    // size is the size that allocate was asked for.
    static void release(void* slot, std::size_t size) noexcept;
    // The bytes that a slot for size bytes takes, up to the next slot carved after it: slots come
    // in steps that keep them aligned for any element, and each can hold a free list's link.
    static constexpr std::size_t slotSize(std::size_t size) {
        return (std::max(size, sizeof(void*)) + granule - 1) / granule * granule;
    }
    static constexpr std::size_t granule = alignof(std::max_align_t);
};

// A standard allocator whose memory comes from the elements' storage: a list that an element
// keeps is then carved beside the element when both are made together.
template <class T> struct StorageAllocator {
    using value_type = T;
    StorageAllocator() = default;
    template <class U> explicit(false) StorageAllocator(const StorageAllocator<U>& /*other*/) {}
    T* allocate(std::size_t n) { return static_cast<T*>(ElementStorage::allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { ElementStorage::release(p, n * sizeof(T)); }
    friend bool operator==(const StorageAllocator& /*a*/, const StorageAllocator& /*b*/) {
        return true;
    }
};

#endif
