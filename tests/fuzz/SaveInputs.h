#ifndef ORVALLE_SAVE_INPUTS_H
#define ORVALLE_SAVE_INPUTS_H

#include <cstddef>
#include <cstdint>

// The entry point shared by the save fuzzer and the corpus replay test. Reads the bytes as a save
// file, and once more with the length and checksum of its header made to fit the bytes, so that
// the fuzzer also reaches what lies behind the checksum. A world resumed runs a few passes.
// Returns how many of the two readings gave a world.
int resumeSaveFromMemory(const std::uint8_t* data, std::size_t size);

#endif
