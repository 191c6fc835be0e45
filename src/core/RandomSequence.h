#ifndef ORVALLE_RANDOM_SEQUENCE_H
#define ORVALLE_RANDOM_SEQUENCE_H

#include <array>
#include <cstddef>

// Where the C library's random sequence (the one rand() draws from) stands, as bytes that can be
// kept and put back: a world saved and resumed draws on exactly where it stopped. The C library
// reads and writes its sequence only through initstate() and setstate(), so the sequence moves
// into a state of our own the first time it is captured, and goes on there from where it was.
// The bytes are the C library's (glibc's) state of the default generator, in the machine's byte
// order.
class RandomSequence {
  public:
    static constexpr std::size_t stateSize = 128;
    using State = std::array<unsigned char, stateSize>;

    // The state of the sequence now; rand() goes on as if it had not been read.
    static State capture();
    // Puts the sequence back where a capture found it. False, and the sequence unchanged, for
    // bytes that no capture gives.
    static bool restore(const State& state);
};

#endif
