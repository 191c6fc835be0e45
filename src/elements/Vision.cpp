#include "elements/Vision.h"

#include <algorithm>

Vision::Vision() : elementCursor(0), landCursor(0) {
    elements.reserve(firstRoom);
}

Vision::Vision(const Vision& other)
    : elementCursor(other.elementCursor), landCursor(other.landCursor), elements(other.elements),
      lands(other.lands), landFrom(other.landFrom), landWaits(other.landWaits) {
    follow(other.source);
}

Vision& Vision::operator=(const Vision& other) {
    if (this != &other) {
        lands.clear();
        landWaits = false;
        follow(other.source);
        landFrom = other.landFrom;
        landWaits = other.landWaits;
        elementCursor = other.elementCursor;
        landCursor = other.landCursor;
        elements = other.elements;
        lands = other.lands;
    }
    return *this;
}

Vision::~Vision() {
    if (source != nullptr) {
        source->untrack(*this);
    }
}

void* Vision::operator new(std::size_t size) {
    return ElementStorage::allocate(size);
}

void Vision::operator delete(void* v, std::size_t size) noexcept {
    ElementStorage::release(v, size);
}

// Cells of an earlier source stay listed only while that source lives: it is asked for them
// first.
void Vision::follow(LandSource* next) {
    if (source == next) {
        return;
    }
    if (source != nullptr) {
        makeLand();
        source->untrack(*this);
    }
    source = next;
    if (source != nullptr) {
        source->track(*this);
    }
}

Element* Vision::getNext(int layer) {
    if (layer == 1) {
        return elementCursor < elements.size() ? elements[elementCursor++] : nullptr;
    }
    if (layer == 0) {
        listLandSeen();
        return landCursor < lands.size() ? landAt(landCursor++) : nullptr;
    }
    return nullptr;
}

// A tile is made once; the list keeps it from then on.
Element* Vision::landAt(std::size_t index) {
    LandSeen& seen = lands[index];
    if (seen.element == nullptr) {
        seen.element = source->landSeenAt(seen.cell);
    }
    return seen.element;
}

void Vision::makeLand() {
    listLandSeen();
    for (std::size_t i = 0; i < lands.size(); ++i) {
        landAt(i);
    }
}

void Vision::sourceEnds() {
    landWaits = false;
    std::erase_if(lands, [](const LandSeen& seen) { return seen.element == nullptr; });
    landCursor = std::min(landCursor, static_cast<unsigned>(lands.size()));
    source = nullptr;
}

void Vision::reset(int layer) {
    if (layer == 1) {
        elementCursor = 0;
    } else if (layer == 0) {
        landCursor = 0;
    }
}

void Vision::clear() {
    elements.clear();
    lands.clear();
    landWaits = false;
    elementCursor = 0;
    landCursor = 0;
}
