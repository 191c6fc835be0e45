#ifndef ORVALLE_PLAYER_FILES_H
#define ORVALLE_PLAYER_FILES_H

#include <optional>
#include <string>
#include <string_view>

// The files the game keeps for the player (the best time, the save): where they live, and how
// they are written, whole or not at all, so that a crash or a full disk never leaves half a file.
class PlayerFiles {
  public:
    // $XDG_DATA_HOME/orvalle/name, or without it (or with a relative one, which the convention
    // says to ignore) ~/.local/share/orvalle/name. Nothing without a home folder either.
    static std::optional<std::string> path(const std::string& name);

    // Writes the bytes into a temporary file beside the file (making its folders, private to the
    // player), makes sure they reached the disk, and renames it over the file. The reason when
    // it could not, empty when it did; the file that was there then stays as it was.
    static std::string writeWhole(const std::string& file, std::string_view bytes);
};

#endif
