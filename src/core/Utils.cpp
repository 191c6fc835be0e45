#include "core/Utils.h"

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

namespace {
// What "%d" reads from the characters before end, in the C locale: blanks, an optional sign, then
// digits up to the first non-digit (a terminating zero included). A value beyond 32 bits
// saturates instead of being left undefined. Every value of a map file comes through here, so the
// digits are read directly rather than through strtol, and where they lie rather than copied.
int leadingInt(const char* next, const char* end) {
    while (next != end && (*next == ' ' || (*next >= '\t' && *next <= '\r'))) {
        ++next;
    }
    const bool negative = next != end && *next == '-';
    if (next != end && (*next == '-' || *next == '+')) {
        ++next;
    }
    // Past INT_MAX + 1 the magnitude stops growing: it saturates either way.
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; next != end && *next >= '0' && *next <= '9'; ++next) {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (*next - '0');
        }
    }
    if (negative) {
        return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}
} // namespace

int c_strToInt(char* text) {
    return leadingInt(text, text + std::strlen(text));
}

// By value, as callers hand over the text they read.
int stringToInt(std::string text) { // NOLINT(performance-unnecessary-value-param)
    return stringToInt(text.data(), text.size());
}

// The same value as c_strToInt of a copy of the first 254 characters, without the copy.
int stringToInt(const char* text, std::size_t length) {
    const std::size_t kept = length < bufferSize - 1 ? length : bufferSize - 1;
    return leadingInt(text, text + kept);
}
std::string decimal(int value) {
    char* text = intToString(value);
    std::string result = text != nullptr ? text : "";
    std::free(text);
    return result;
}
