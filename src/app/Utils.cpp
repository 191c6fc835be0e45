#include "Utils.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const std::size_t bufferSize = 255;
}

char* intToString(int value) {
    char* text = static_cast<char*>(std::malloc(bufferSize));
    if (text != nullptr) {
        std::snprintf(text, bufferSize, "%d", value);
    }
    return text;
}

int c_strToInt(char* text) {
    // strtol reads exactly what "%d" reads, but reports overflow instead of leaving it undefined.
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// By value, as callers hand over the text they read; the work buffer is the only copy kept.
int stringToInt(std::string text) { // NOLINT(performance-unnecessary-value-param)
    char work[bufferSize];
    std::size_t length = text.copy(work, bufferSize - 1);
    work[length] = '\0';
    return c_strToInt(work);
}

std::string decimal(int value) {
    char* text = intToString(value);
    std::string result = text != nullptr ? text : "";
    std::free(text);
    return result;
}
