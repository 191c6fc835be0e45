#include "elements/Vision.h"

Vision::Vision() : elementCursor(0), landCursor(0) {}

std::vector<Element*>* Vision::listOf(int layer) {
    if (layer == 1) {
        return &elements;
    }
    return layer == 0 ? &lands : nullptr;
}

unsigned* Vision::cursorOf(int layer) {
    if (layer == 1) {
        return &elementCursor;
    }
    return layer == 0 ? &landCursor : nullptr;
}

Element* Vision::getNext(int layer) {
    std::vector<Element*>* list = listOf(layer);
    unsigned* cursor = cursorOf(layer);
    if (list == nullptr || *cursor >= list->size()) {
        return nullptr;
    }
    return (*list)[(*cursor)++];
}

void Vision::reset(int layer) {
    unsigned* cursor = cursorOf(layer);
    if (cursor != nullptr) {
        *cursor = 0;
    }
}

void Vision::clear() {
    elements.clear();
    lands.clear();
    elementCursor = 0;
    landCursor = 0;
}
