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

// What "%d" reads, in the C locale: blanks, an optional sign, then digits up to the first
// non-digit. A value beyond 32 bits saturates instead of being left undefined. Every value of a
// map file comes through here, so the digits are read directly rather than through strtol.
int c_strToInt(char* text) {
    const char* next = text;
    while (*next == ' ' || (*next >= '\t' && *next <= '\r')) {
        ++next;
    }
    const bool negative = *next == '-';
    if (*next == '-' || *next == '+') {
        ++next;
    }
    // Past INT_MAX + 1 the magnitude stops growing: it saturates either way.
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; *next >= '0' && *next <= '9'; ++next) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (*next - '0');
        }
    }
    if (negative) {
        return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

// By value, as callers hand over the text they read; the work buffer is the only copy kept.
int stringToInt(std::string text) { // NOLINT(performance-unnecessary-value-param)
    return stringToInt(text.data(), text.size());
}

int stringToInt(const char* text, std::size_t length) {
    char work[bufferSize];
    const std::size_t kept = length < bufferSize - 1 ? length : bufferSize - 1;
    for (std::size_t i = 0; i < kept; ++i) {
        work[i] = text[i];
    }
    work[kept] = '\0';
    return c_strToInt(work);
}

std::string decimal(int value) {
    char* text = intToString(value);
    std::string result = text != nullptr ? text : "";
    std::free(text);
    return result;
}
