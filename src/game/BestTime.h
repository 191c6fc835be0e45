#ifndef ORVALLE_BESTTIME_H
#define ORVALLE_BESTTIME_H

#include <optional>
#include <string>

// The longest life of an avatar so far, in passes, kept across launches in a file of one line,
// the number. A file that cannot be read or does not hold such a line is ignored, with a message
// on the standard error stream: the next life sets the record anew. The file is written whole
// or not at all (a temporary file beside it, then a rename), so that a crash or a full disk
// never leaves half a record.
class BestTime {
  public:
    // Where the record lives: $XDG_DATA_HOME/orvalle/best-time, or without it (or with a
    // relative one, which the convention says to ignore) ~/.local/share/orvalle/best-time.
    // Nothing without a home folder either.
    static std::optional<std::string> defaultFile();

    // Reads the record of the file, if it has a good one.
    explicit BestTime(std::string file);

    std::optional<long> getBest() const { return best; }
    // A life of that many passes: when it is longer than the record, it becomes the record and
    // is written. True when it did.
    bool offer(long passes);

  private:
    void load();
    // A record that cannot be written is reported; the old file stays as it was.
    void save() const;

    std::string file;
    std::optional<long> best;
};

#endif
