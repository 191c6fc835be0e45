// The grid's cells and the elements' storage start as nought and on a huge page, and go back to
// the system when they end; a block the system cannot give is refused, not handed out.
#include "core/HugePageBlock.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <new>

namespace {
const std::size_t hugePage = std::size_t{2} << 20;
} // namespace

TEST(HugePageBlockTest, StartsOnAHugePageWithEveryByteNought) {
    for (std::size_t size : {std::size_t{1}, std::size_t{4097}, hugePage, hugePage * 3 + 5}) {
        const HugePageBlock block(size);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % hugePage, 0U) << size;
        std::size_t nonZero = 0;
        for (std::size_t at = 0; at < size; ++at) {
            nonZero += block.get()[at] != 0 ? 1 : 0;
        }
        EXPECT_EQ(nonZero, 0U) << size;
        block.get()[size - 1] = 1;
    }
}

TEST(HugePageBlockTest, ABlockLargerThanTheAddressSpaceIsRefused) {
    EXPECT_THROW(HugePageBlock(std::size_t{1} << 62), std::bad_alloc);
}

TEST(HugePageBlockTest, ItsMemoryGoesBackWhenItEnds) {
    char* start = nullptr;
    {
        const HugePageBlock block(hugePage);
        start = block.get();
        start[0] = 1;
    }
    unsigned char resident = 0;
    errno = 0;
    EXPECT_EQ(mincore(start, 1, &resident), -1);
    EXPECT_EQ(errno, ENOMEM);
}
