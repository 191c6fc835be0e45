#include "elements/ElementArena.h"

#include "elements/Element.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

namespace {
// Blocks double from the first size up to the last: a big world's elements take hundreds of
// megabytes, which are mapped with their pages present, a block at a time, instead of being
// faulted in one page at a time as they are first written.
const std::size_t firstBlockSize = 256 << 10;
const std::size_t lastBlockSize = 8 << 20;
} // namespace

ElementArena::~ElementArena() {
    for (Element* element : ending) {
        element->~Element();
    }
    adopted.clear();
    for (const Block& block : blocks) {
        munmap(block.start, block.size);
    }
}

// What is held here already stays as it is: the pointer handed in lets go of it, not ends it.
void ElementArena::adopt(std::unique_ptr<Element> e) {
    if (e == nullptr || owns(e.get())) {
        static_cast<void>(e.release());
        return;
    }
    adoptedSet.insert(e.get());
    adopted.push_back(std::move(e));
}

bool ElementArena::owns(const Element* e) const {
    if (adoptedSet.count(e) != 0) {
        return true;
    }
    const auto place = reinterpret_cast<std::uintptr_t>(e);
    return std::any_of(blocks.begin(), blocks.end(), [place](const Block& block) {
        const auto start = reinterpret_cast<std::uintptr_t>(block.start);
        return start <= place && place - start < block.size;
    });
}

// The next aligned place in the current block, or the start of a new block big enough.
void* ElementArena::allocate(std::size_t size, std::size_t alignment) {
    void* start = next;
    std::size_t space = next == nullptr ? 0 : static_cast<std::size_t>(end - next);
    if (std::align(alignment, size, start, space) == nullptr) {
        addBlock(size + alignment);
        start = next;
        space = static_cast<std::size_t>(end - next);
        std::align(alignment, size, start, space);
    }
    next = static_cast<char*>(start) + size;
    return start;
}

// At least the size asked for.
void ElementArena::addBlock(std::size_t size) {
    std::size_t blockSize = blocks.empty() ? firstBlockSize : 2 * blocks.back().size;
    blockSize = std::max(std::min(blockSize, lastBlockSize), size);
    void* start = mmap(nullptr, blockSize, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (start == MAP_FAILED) {
        throw std::bad_alloc();
    }
    blocks.push_back(Block{static_cast<char*>(start), blockSize});
    next = static_cast<char*>(start);
    end = next + blockSize;
}
