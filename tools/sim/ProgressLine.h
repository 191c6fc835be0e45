#ifndef ORVALLE_PROGRESS_LINE_H
#define ORVALLE_PROGRESS_LINE_H

#include <cstdio>

// A line on a terminal stream telling how far a long run has come. Short runs print nothing:
// the line appears once a run has taken a second and is rewritten at most twice a second.
class ProgressLine {
  public:
    ProgressLine(std::FILE* stream, long steps) : out(stream), total(steps) {}

    // Reports that `done` of the total steps are done after `seconds` of running.
    void update(long done, double seconds);
    // Ends the line, if one was shown, so that later messages start on a line of their own.
    void finish();

  private:
    std::FILE* out;
    long total;
    bool shown = false;
    double lastShown = 0;
};

#endif
