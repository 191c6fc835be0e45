#ifndef ORVALLE_ELEMENT_ARENA_H
#define ORVALLE_ELEMENT_ARENA_H

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

// Storage for the elements of a world, handed out back to back in the order they are created.
// A world creates its elements in sweep order, so the sweep reads memory as one stream instead
// of jumping a whole row of cells at every step. Objects are ended with destroy(), which runs
// their destructor; the arena frees all of the memory at once when it goes.
class ElementArena {
  public:
    ElementArena() = default;
    ~ElementArena();
    ElementArena(const ElementArena&) = delete;
    ElementArena& operator=(const ElementArena&) = delete;

    template <class T, class... Args> T* create(Args&&... args) {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // Runs the object's destructor (the most derived one, for a virtual destructor).
    template <class T> static void destroy(T* object) { object->~T(); }

  private:
    void* allocate(std::size_t size, std::size_t alignment);
    void addBlock(std::size_t size);

    std::vector<char*> blocks;
    char* next = nullptr;
    char* end = nullptr;
};

#endif
