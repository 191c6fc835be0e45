#ifndef ORVALLE_KEPTFILE_H
#define ORVALLE_KEPTFILE_H

#include <optional>
#include <string>

// A small file that the game keeps for the player (the best time, the switches), read whole.
class KeptFile {
  public:
    // Its text, cut at most + 1 bytes so that the caller tells a longer file by its length.
    // Nothing when it is missing; nothing either when it cannot be read, which is reported on
    // the standard error stream: "Cannot read the <what> in <file> (<reason>): <afresh>."
    static std::optional<std::string> read(const std::string& file, std::size_t most,
                                           const char* what, const char* afresh);
};

#endif
