#ifndef ORVALLE_HUGE_PAGE_BLOCK_H
#define ORVALLE_HUGE_PAGE_BLOCK_H

#include <cstddef>
#include <memory>

// A block of memory that starts on a huge page and asks the system to back it with huge pages.
// What a pass reads all over, tens of megabytes of it, the processor's address cache covers only
// in huge pages: in small ones, each read ahead would also wait for the page tables. Without huge
// pages the block is as good, only slower to walk. The block starts as nought, as the system hands
// out fresh memory, and a page of it that nothing writes takes no memory.
class HugePageBlock {
  public:
    HugePageBlock() = default;
    // Throws std::bad_alloc when the system has no room for it.
    explicit HugePageBlock(std::size_t size);
    char* get() const { return start; }

  private:
    struct Unmap {
        std::size_t length;
        void operator()(char* mapped) const;
    };
    std::unique_ptr<char[], Unmap> mapping;
    char* start = nullptr;
};

#endif
