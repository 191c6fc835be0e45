#include "ElementArena.h"

#include <cstdint>
#include <map>

namespace {
const std::size_t blockSize = 1 << 20;

char* alignUp(char* p, std::size_t alignment) {
    const std::uintptr_t mask = alignment - 1;
    return reinterpret_cast<char*>((reinterpret_cast<std::uintptr_t>(p) + mask) & ~mask);
}

// Start -> end of every block of every live arena. The game runs on one thread. Never destroyed,
// so that elements deleted during the program's exit still find it.
std::map<const char*, const char*>& liveBlocks() {
    static auto* blocks = new std::map<const char*, const char*>();
    return *blocks;
}
} // namespace

ElementArena::~ElementArena() {
    for (char* block : blocks) {
        liveBlocks().erase(block);
        ::operator delete(block);
    }
}

bool ElementArena::holds(const void* p) {
    const char* address = static_cast<const char*>(p);
    auto after = liveBlocks().upper_bound(address);
    if (after == liveBlocks().begin()) {
        return false;
    }
    --after;
    return address < after->second;
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
    liveBlocks()[block] = block + size;
    next = block;
    end = block + size;
}
