#include "world/Stage.h"

namespace {
// A function's own static, so that a maker provided while the program starts is never lost to
// the order in which files are initialised.
Stage::Maker& provided() {
    static Stage::Maker maker = nullptr;
    return maker;
}
} // namespace

void Stage::provide(Maker maker) {
    provided() = maker;
}

std::unique_ptr<Stage> Stage::make() {
    return provided() != nullptr ? provided()() : nullptr;
}
