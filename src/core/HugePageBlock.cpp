#include "core/HugePageBlock.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

#include <cstdint>
#include <limits>
#include <new>

namespace {
const std::size_t hugePage = std::size_t{2} << 20;
} // namespace

// The system maps a block anywhere on a page: a huge page more than asked for leaves room to
// start on a huge page. The room before and after that start is never written and takes no
// memory.
HugePageBlock::HugePageBlock(std::size_t size) {
    if (size > std::numeric_limits<std::size_t>::max() - hugePage) {
        throw std::bad_alloc();
    }
    const std::size_t length = size + hugePage;
    void* mapped =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    mapping = std::unique_ptr<char[], Unmap>(static_cast<char*>(mapped), Unmap{length});
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    const std::size_t before = (hugePage - address % hugePage) % hugePage;
    start = mapping.get() + before;
    // The room around the block is no one's: the address sanitizer reports a read or write there.
    ASAN_POISON_MEMORY_REGION(mapping.get(), before);
    ASAN_POISON_MEMORY_REGION(start + size, length - before - size);
    // Only a hint, which the system may not take.
    madvise(start, size, MADV_HUGEPAGE);
}

// The system may map the same addresses again, for memory of any use.
void HugePageBlock::Unmap::operator()(char* mapped) const {
    ASAN_UNPOISON_MEMORY_REGION(mapped, length);
    munmap(mapped, length);
}
