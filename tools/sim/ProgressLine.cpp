#include "ProgressLine.h"

namespace {
const double quietSeconds = 1.0;
const double refreshSeconds = 0.5;
} // namespace

void ProgressLine::update(long done, double seconds) {
    if (seconds < quietSeconds || (shown && seconds - lastShown < refreshSeconds)) {
        return;
    }
    const long percent = total > 0 ? done * 100 / total : 100;
    std::fprintf(out, "\rpass %ld of %ld (%ld%%), %.0f s", done, total, percent, seconds);
    std::fflush(out);
    shown = true;
    lastShown = seconds;
}

void ProgressLine::finish() {
    if (shown) {
        std::fputc('\n', out);
        std::fflush(out);
        shown = false;
    }
}
