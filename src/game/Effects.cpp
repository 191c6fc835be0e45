#include "game/Effects.h"

#include <array>
#include <cstddef>
#include <iterator>

namespace {
// The file of each sound, in the order of Effects::Sound.
const char* const fileNames[] = {"blow.wav", "bite.wav", "death.wav"};
// Full volume and the middle of the stereo field; the digital volume set at start-up (half)
// leaves the music room.
const int volume = 255;
const int middle = 128;
const int asRecorded = 1000;
} // namespace

Effects::Effects(const std::string& folder) {
    static_assert(std::tuple_size_v<decltype(samples)> == std::size(fileNames),
                  "a sample for each file");
    for (std::size_t sound = 0; sound < samples.size(); ++sound) {
        samples[sound].reset(load_sample((folder + "/" + fileNames[sound]).c_str()));
    }
}

// Without a digital sound driver the library's play_sample finds no voice and does nothing.
void Effects::play(Sound sound) const {
    if (SAMPLE* sample = samples[static_cast<std::size_t>(sound)].get()) {
        play_sample(sample, volume, middle, asRecorded, 0);
    }
}
