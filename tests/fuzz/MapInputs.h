#ifndef ORVALLE_MAP_INPUTS_H
#define ORVALLE_MAP_INPUTS_H

#include <cstddef>
#include <cstdint>
#include <string>

// Entry points shared by the libFuzzer targets and the corpus replay test, so that every input
// the fuzzers kept is checked again by the ordinary test run.

// Reads the bytes as a map file from memory; returns true when the reader accepts them.
bool readMapFromMemory(const std::uint8_t* data, std::size_t size);

// When the bytes are an accepted map of at most maxFuzzedCells cells, builds a world on them,
// without images or music, and runs it for a few hundred passes. Returns the number of passes run.
int runWorldFromMemory(const std::uint8_t* data, std::size_t size);

// Bigger maps are skipped by runWorldFromMemory so that every input stays fast.
const long maxFuzzedCells = 64L * 64;
const int fuzzedWorldPasses = 300;

// Starts Allegro headless: no system driver, `screen` is a memory bitmap.
void startHeadlessAllegro();

// Writes the bytes to a new file under /tmp with the given extension; returns its path, or ""
// when that fails. The caller removes the file.
std::string temporaryFileWith(const std::uint8_t* data, std::size_t size,
                              const std::string& extension);

#endif
