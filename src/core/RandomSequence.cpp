#include "core/RandomSequence.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
// glibc's default generator: the first word of its state holds 5 x the read position + 3 (its
// type), followed by the 31 words of the sequence.
const std::int32_t generatorTypes = 5;
const std::int32_t defaultType = 3;
const std::int32_t degree = 31;

// Two states of our own, used in turn: setstate() writes the position of the state it leaves
// into that state, so a state is put back into the one not in use.
alignas(std::int32_t) char states[2][RandomSequence::stateSize];
int inUse = -1;

// Moves the sequence into our own state where it was, if it is not there yet. initstate() writes
// the position into the state it leaves and hands that back; the state it makes is only a step
// on the way, as setstate() writes the position of the state it leaves too.
void adopt() {
    if (inUse >= 0) {
        return;
    }
    const char* left = initstate(1, states[1], RandomSequence::stateSize);
    std::memcpy(states[0], left, RandomSequence::stateSize);
    setstate(states[0]);
    inUse = 0;
}
} // namespace

RandomSequence::State RandomSequence::capture() {
    adopt();
    // Switching to the state in use writes its read position into its first word.
    setstate(states[inUse]);
    State state;
    std::memcpy(state.data(), states[inUse], stateSize);
    return state;
}

bool RandomSequence::restore(const State& state) {
    std::int32_t head = 0;
    std::memcpy(&head, state.data(), sizeof head);
    if (head < 0 || head % generatorTypes != defaultType || head / generatorTypes >= degree) {
        return false;
    }
    adopt();
    const int next = 1 - inUse;
    std::memcpy(states[next], state.data(), stateSize);
    setstate(states[next]);
    inUse = next;
    return true;
}
