// A block of huge pages goes back to the system when it ends, and a block the system cannot give
// is refused, not handed out.
#include "core/HugePageBlock.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cerrno>
#include <limits>
#include <new>

TEST(HugePageBlockTest, ItsMemoryGoesBackWhenItEnds) {
    char* start = HugePageBlock(std::size_t{2} << 20).get();
    unsigned char resident = 0;
    EXPECT_EQ(mincore(start, 1, &resident), -1);
    EXPECT_EQ(errno, ENOMEM);
}

TEST(HugePageBlockTest, ABlockLargerThanTheAddressSpaceIsRefused) {
    // The largest size would wrap around with the room added to start on a huge page.
    for (std::size_t size : {std::size_t{1} << 62, std::numeric_limits<std::size_t>::max()}) {
        EXPECT_THROW(HugePageBlock{size}, std::bad_alloc) << size;
    }
}
