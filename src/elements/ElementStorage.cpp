#include "elements/ElementStorage.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <vector>

namespace {
// Slots come in steps of this many bytes, which also keeps them aligned for any element.
const std::size_t granule = alignof(std::max_align_t);
// Larger elements (a caller's class with much state of its own) come from the heap.
const std::size_t largestSlot = 512;
// Chunks double from the first size up to the last.
const std::size_t firstChunkSize = std::size_t{256} << 10;
const std::size_t lastChunkSize = std::size_t{8} << 20;

// A dense world's elements span tens of megabytes, which the processor's address cache covers
// only in huge pages: with small ones, a turn would wait for the page tables as well as for the
// element. So each chunk starts on a huge page and asks the system for huge pages.
const std::size_t hugePage = std::size_t{2} << 20;

struct FreeSlot {
    FreeSlot* next;
};

struct ChunkEnd {
    void operator()(char* chunk) const { ::operator delete[](chunk, std::align_val_t{hugePage}); }
};
using Chunk = std::unique_ptr<char[], ChunkEnd>;

Chunk makeChunk(std::size_t size) {
    Chunk chunk(static_cast<char*>(::operator new[](size, std::align_val_t{hugePage})));
    // Only a hint: without huge pages the chunk is as good, only slower to walk.
    madvise(chunk.get(), size, MADV_HUGEPAGE);
    return chunk;
}

struct Pool {
    // Freed slots by size class, each list threaded through the slots themselves.
    std::array<FreeSlot*, largestSlot / granule + 1> freed{};
    // Slots handed out and not released.
    std::size_t live = 0;
    std::vector<Chunk> chunks;
    std::size_t chunkSize = 0;
    char* next = nullptr;
    char* end = nullptr;

    void* carve(std::size_t size) {
        if (next == nullptr || static_cast<std::size_t>(end - next) < size) {
            chunkSize = std::min(chunkSize == 0 ? firstChunkSize : 2 * chunkSize, lastChunkSize);
            chunks.push_back(makeChunk(chunkSize));
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

std::size_t ElementStorage::slotSize(std::size_t size) {
    return (std::max(size, sizeof(FreeSlot)) + granule - 1) / granule * granule;
}

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
