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

// A death while under attack comes of the blow; any other, of the slow loss of health that only
// eating makes up for.
std::string causeOf(const Element& avatar) {
    const Element* attacker = avatar.getAttacker();
    if (attacker == nullptr) {
        return "Starved.";
    }
    const std::string kind = attacker->getName();
    const bool vowel = kind.find_first_of("aeiou") == 0;
    return std::string("Killed by ") + (vowel ? "an " : "a ") + kind + "'s blow.";
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
    if (over) {
        cause = causeOf(avatar);
    }
    return over;
}

void DeathCard::resume(const Life& life) {
    passes = life.passes;
    blows = life.blows;
    bites = life.bites;
    over = life.over;
}

void DeathCard::setBest(std::optional<long> bestPasses, bool setByThisLife) {
    best = bestPasses;
    newBest = setByThisLife;
}

std::vector<std::string> DeathCard::lines() const {
    std::vector<std::string> card = {"You died."};
    if (!cause.empty()) {
        card.push_back(cause);
    }
    card.insert(card.end(), {"Lived " + lifetime(passes), "Blows struck: " + std::to_string(blows),
                             "Bites eaten: " + std::to_string(bites)});
    if (best) {
        card.push_back("Best: " + lifetime(*best));
    }
    if (newBest) {
        card.emplace_back("New best!");
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
