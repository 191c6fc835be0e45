#ifndef ORVALLE_ELEMENT_ARENA_H
#define ORVALLE_ELEMENT_ARENA_H

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

class Element;

// Storage for the elements of a world, handed out back to back in the order they are created.
// A world creates the elements that the sweep runs in sweep order, so the sweep reads memory as
// one stream instead of jumping a whole row of cells at every step. The arena owns what it built
// and what it took over: it ends every element with its own end and frees all of the memory at
// once.
class ElementArena {
  public:
    ElementArena() = default;
    ~ElementArena();
    ElementArena(const ElementArena&) = delete;
    ElementArena& operator=(const ElementArena&) = delete;

    template <class T, class... Args> T* create(Args&&... args) {
        static_assert(std::is_base_of_v<Element, T>, "the arena holds elements");
        T* object = new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
        // An Element of that very class owns nothing (what it sees is the world's), so its end
        // would only read its memory: a big world's millions of land tiles are let go with the
        // blocks. Every other class may own something, and is ended.
        if constexpr (!std::is_same_v<T, Element>) {
            ending.push_back(object);
        }
        return object;
    }

    // Takes over an element built elsewhere, to end it with the others. An element held here
    // already stays as it is.
    void adopt(std::unique_ptr<Element> e);

    // True when e was built or taken over here, and so is ended here.
    bool owns(const Element* e) const;

  private:
    struct Block {
        char* start;
        std::size_t size;
    };

    void* allocate(std::size_t size, std::size_t alignment);
    void addBlock(std::size_t size);

    std::vector<Block> blocks;
    // Every element built here of a class other than Element, so that each one's destructor
    // runs once.
    std::vector<Element*> ending;
    // Elements built elsewhere and taken over, ended after the arena's own.
    std::vector<std::unique_ptr<Element>> adopted;
    std::unordered_set<const Element*> adoptedSet;
    char* next = nullptr;
    char* end = nullptr;
};

#endif
