#include "ElementArena.h"

#include "Element.h"

#include <memory>

namespace {
const std::size_t blockSize = 1 << 20;
} // namespace

ElementArena::~ElementArena() {
    for (Element* element : built) {
        element->~Element();
    }
    for (char* block : blocks) {
        ::operator delete(block);
    }
}

// The next aligned place in the current block, or the start of a new block big enough.
void* ElementArena::allocate(std::size_t size, std::size_t alignment) {
    void* start = next;
    std::size_t space = next == nullptr ? 0 : static_cast<std::size_t>(end - next);
    if (std::align(alignment, size, start, space) == nullptr) {
        addBlock(size + alignment > blockSize ? size + alignment : blockSize);
        start = next;
        space = static_cast<std::size_t>(end - next);
        std::align(alignment, size, start, space);
    }
    next = static_cast<char*>(start) + size;
    return start;
}

void ElementArena::addBlock(std::size_t size) {
    char* block = static_cast<char*>(::operator new(size));
    blocks.push_back(block);
    next = block;
    end = block + size;
}
