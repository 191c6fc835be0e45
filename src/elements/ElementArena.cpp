#include "ElementArena.h"

#include <cstdint>

namespace {
const std::size_t blockSize = 1 << 20;

char* alignUp(char* p, std::size_t alignment) {
    const std::uintptr_t mask = alignment - 1;
    return reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(p) + mask) & ~mask);
}

} // namespace

ElementArena::~ElementArena() {
    for (char* block : blocks) {
        ::operator delete(block);
    }
}

void* ElementArena::allocate(std::size_t size, std::size_t alignment) {
    char* start = next == nullptr ? nullptr : alignUp(next, alignment);
    if (start == nullptr || start > end || size > static_cast<std::size_t>(end - start)) {
        addBlock(size + alignment > blockSize ? size + alignment : blockSize);
        start = alignUp(next, alignment);
    }
    next = start + size;
    return start;
}

void ElementArena::addBlock(std::size_t size) {
    char* block = static_cast<char*>(::operator new(size));
    blocks.push_back(block);
    next = block;
    end = block + size;
}
