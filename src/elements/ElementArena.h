#ifndef ORVALLE_ELEMENT_ARENA_H
#define ORVALLE_ELEMENT_ARENA_H

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

// Storage for the elements of a world, handed out back to back in the order they are created.
// A world creates its elements in sweep order, so the sweep reads memory as one stream instead
// of jumping a whole row of cells at every step. `delete` still works on every element:
// Element's operator delete leaves memory held here to the arena, which frees it all at once.
class ElementArena {
  public:
    ElementArena() = default;
    ~ElementArena();
    ElementArena(const ElementArena&) = delete;
    ElementArena& operator=(const ElementArena&) = delete;

    template <class T, class... Args> T* create(Args&&... args) {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // True when p lies in a block of a live arena.
    static bool holds(const void* p);

  private:
    void* allocate(std::size_t size, std::size_t alignment);
    void addBlock(std::size_t size);

    std::vector<char*> blocks;
    char* next = nullptr;
    char* end = nullptr;
};

#endif
