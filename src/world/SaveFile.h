#ifndef ORVALLE_SAVE_FILE_H
#define ORVALLE_SAVE_FILE_H

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

class World;

// The avatar's life so far as the death card tallies it: passes lived, blows struck, bites eaten,
// and whether it is over.
struct AvatarLife {
    long passes = 0;
    long blows = 0;
    long bites = 0;
    bool over = false;
};

// What the game keeps in a save beside the world: the pause and the avatar's life so far. A
// headless run keeps neither.
struct PlayState {
    bool paused = false;
    AvatarLife life;
};

// A whole world in a file, to resume it later exactly where it stood (WorldCodec says what it
// holds). The file is "ORVSAVE\n", the format's number, the length and the CRC-32 of the world's
// bytes, then those bytes. It is written whole or not at all; a file that is not a save, is
// shorter or longer than it says, is damaged or comes from a newer format is refused, and no
// world is made of it.
class SaveFile {
  public:
    static constexpr std::uint32_t format = 1;

    class Refused : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
    };

    // Where the game keeps its save: orvalle.save in the player's data folder (PlayerFiles).
    static std::optional<std::string> defaultFile();

    // A world read back, and what the game kept beside it.
    struct Resumed {
        std::unique_ptr<World> world;
        PlayState play;
    };

    // Writes the world into the file; the reason when it could not, empty when it did.
    static std::string write(const World& world, const std::string& file,
                             const PlayState& play = {});
    // The world of a file. Throws Refused, with the file's name and what is wrong.
    static Resumed resume(const std::string& file, const std::optional<std::string>& mediaFolder);

    // Throws Refused as resume() would for a file that is not a whole save of this format,
    // without making a world: for a refusal before anything opens.
    static void check(const std::string& file);

    // The bytes of a file holding the world, and the world of such bytes (Refused without the
    // file's name): what write() and resume() put into files and take out of them.
    static std::string bytesOf(const World& world, const PlayState& play = {});
    static Resumed worldOf(std::string_view bytes, const std::optional<std::string>& mediaFolder);
};

#endif
