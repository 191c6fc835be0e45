#ifndef ORVALLE_EFFECTS_H
#define ORVALLE_EFFECTS_H

#include <allegro.h>

#include <array>
#include <memory>
#include <string>

// The sound effects, played over the music: a blow, a bite, a death. Their samples are WAV files
// of a folder (sounds/ of the data folder: blow.wav, bite.wav, death.wav); a sample that is
// missing or cannot be read stays silent, and so does every one without a sound device.
class Effects {
  public:
    enum class Sound { blow, bite, death };

    // Effects that sound nothing.
    Effects() = default;
    explicit Effects(const std::string& folder);

    void play(Sound sound) const;

  private:
    struct Unload {
        void operator()(SAMPLE* sample) const { destroy_sample(sample); }
    };
    std::array<std::unique_ptr<SAMPLE, Unload>, 3> samples;
};

#endif
