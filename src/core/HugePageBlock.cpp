#include "core/HugePageBlock.h"

#include <sys/mman.h>

#include <new>

namespace {
const std::size_t hugePage = std::size_t{2} << 20;
} // namespace

HugePageBlock::HugePageBlock(std::size_t size)
    : bytes(static_cast<char*>(::operator new[](size, std::align_val_t{hugePage}))) {
    // Only a hint, which the system may not take.
    madvise(bytes.get(), size, MADV_HUGEPAGE);
}

void HugePageBlock::Release::operator()(char* block) const {
    ::operator delete[](block, std::align_val_t{hugePage});
}
