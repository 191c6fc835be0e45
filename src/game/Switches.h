#ifndef ORVALLE_SWITCHES_H
#define ORVALLE_SWITCHES_H

#include "view/Frame.h"

#include <optional>
#include <string>

// The switches the player sets, kept across rounds and launches: what is shown over the view
// (H, V, O), the sound effects (E) and the pace. They live in a file of one "name value" line each,
// written whole or not at all whenever a switch changes. A file that cannot be read, or holds
// anything else, is reported on the standard error stream and ignored: the switches start as at a
// first launch.
class Switches {
  public:
    // $XDG_DATA_HOME/orvalle/switches, or ~/.local/share/orvalle/switches; nothing without a
    // home folder.
    static std::optional<std::string> defaultFile();

    // Switches kept nowhere, as at a first launch.
    Switches() = default;
    // The switches of the file, if it holds good ones.
    explicit Switches(std::string file);

    // Writes the switches into the file, if there is one; a file that cannot be written is
    // reported, and the old one stays as it was.
    void keep() const;

    Shown shown;
    // The pace as Pace::name() gives it.
    std::string pace = "x1";

  private:
    void load();
    // False when the text is not a file of switches.
    bool read(const std::string& text);

    std::optional<std::string> file;
};

#endif
