#ifndef ORVALLE_HUGE_PAGE_BLOCK_H
#define ORVALLE_HUGE_PAGE_BLOCK_H

#include <cstddef>
#include <memory>

// A block of memory that starts on a huge page and asks the system to back it with huge pages.
// What a pass reads all over, tens of megabytes of it, the processor's address cache covers only
// in huge pages: in small ones, each read ahead would also wait for the page tables. Without huge
// pages the block is as good, only slower to walk.
class HugePageBlock {
  public:
    HugePageBlock() = default;
    explicit HugePageBlock(std::size_t bytes);
    char* get() const { return bytes.get(); }

  private:
    struct Release {
        void operator()(char* block) const;
    };
    std::unique_ptr<char[], Release> bytes;
};

#endif
