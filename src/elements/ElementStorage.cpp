#include "elements/ElementStorage.h"

#include "core/HugePageBlock.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace {
const std::size_t granule = ElementStorage::granule;
// Larger elements (a caller's class with much state of its own) come from the heap.
const std::size_t largestSlot = 512;
// Chunks double from the first size up to the last.
const std::size_t firstChunkSize = std::size_t{256} << 10;
const std::size_t lastChunkSize = std::size_t{8} << 20;

struct FreeSlot {
    FreeSlot* next;
};
static_assert(sizeof(FreeSlot) <= ElementStorage::slotSize(1), "a freed slot holds its link");

struct Pool {
    // Freed slots by size class, each list threaded through the slots themselves.
    std::array<FreeSlot*, largestSlot / granule + 1> freed{};
    // Slots handed out and not released.
    std::size_t live = 0;
    // A dense world's elements span tens of megabytes.
    std::vector<HugePageBlock> chunks;
    std::size_t chunkSize = 0;
    char* next = nullptr;
    char* end = nullptr;

    void* carve(std::size_t size) {
        if (next == nullptr || static_cast<std::size_t>(end - next) < size) {
            chunkSize = std::min(chunkSize == 0 ? firstChunkSize : 2 * chunkSize, lastChunkSize);
            chunks.emplace_back(chunkSize);
            next = chunks.back().get();
            end = next + chunkSize;
        }
        void* slot = next;
        next += size;
        return slot;
    }

    // Once every element has ended, as when a world ends, the next ones start again on fresh
    // memory in the order they are made, instead of in the order of the freed slots.
    void clear() {
        freed.fill(nullptr);
        chunks.clear();
        chunkSize = 0;
        next = nullptr;
        end = nullptr;
    }
};

Pool& pool() {
    static Pool shared;
    return shared;
}

} // namespace

void* ElementStorage::allocate(std::size_t size) {
    const std::size_t slot = slotSize(size);
    if (slot > largestSlot) {
        return ::operator new(size);
    }
    Pool& storage = pool();
    ++storage.live;
    FreeSlot*& freed = storage.freed[slot / granule];
    if (freed != nullptr) {
        FreeSlot* reused = freed;
        freed = reused->next;
        return reused;
    }
    return storage.carve(slot);
}

void ElementStorage::release(void* slot, std::size_t size) noexcept {
    const std::size_t slotBytes = slotSize(size);
    if (slotBytes > largestSlot) {
        ::operator delete(slot);
        return;
    }
    Pool& storage = pool();
    if (--storage.live == 0) {
        storage.clear();
        return;
    }
    FreeSlot*& freed = storage.freed[slotBytes / granule];
    freed = new (slot) FreeSlot{freed};
}
