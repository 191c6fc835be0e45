#include "game/DeathCard.h"

#include "core/Timer.h"
#include "elements/Element.h"

namespace {
// As the calendar counts, from 0 to each field's last value.
const long secondsPerMinute = Timer::lastSecound + 1;
const long minutesPerHour = Timer::lastMinute + 1;
const long hoursPerDay = Timer::lastHour + 1;

std::string counted(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}
} // namespace

// A blow or a bite of this pass reads 0 turns ago, also in the pass of death.
bool DeathCard::note(const Element& avatar) {
    if (over) {
        return false;
    }
    ++passes;
    blows += avatar.turnsSinceBlow() == 0;
    bites += avatar.turnsSinceBite() == 0;
    over = !avatar.isAlive();
    return over;
}

void DeathCard::resume(const Life& life) {
    passes = life.passes;
    blows = life.blows;
    bites = life.bites;
    over = life.over;
}

std::vector<std::string> DeathCard::lines() const {
    std::vector<std::string> card = {"You died.", "Lived " + lifetime(passes),
                                     "Blows struck: " + std::to_string(blows),
                                     "Bites eaten: " + std::to_string(bites)};
    if (best) {
        card.push_back("Best: " + lifetime(*best));
    }
    card.emplace_back("R plays again, Escape quits.");
    return card;
}

std::string DeathCard::lifetime(long passes) {
    const long minutes = passes / secondsPerMinute;
    const long hours = minutes / minutesPerHour;
    return counted(hours / hoursPerDay, "day", "days") + " " +
           counted(hours % hoursPerDay, "hour", "hours") + " " +
           std::to_string(minutes % minutesPerHour) + " min";
}
