#ifndef ORVALLE_UTILS_H
#define ORVALLE_UTILS_H

#include <cstddef>
#include <string>

// Decimal text of a value in a freshly malloc'ed buffer of 255 bytes; the caller frees it.
char* intToString(int value);

// The leading decimal integer of a text (blanks and a sign allowed, the rest ignored).
// A text without a leading integer gives 0; a number beyond 32 bits saturates.
int c_strToInt(char* text);

// c_strToInt of a copy of at most 254 characters of the string.
int stringToInt(std::string text);
// The same for the length characters at text, which need no terminating zero.
int stringToInt(const char* text, std::size_t length);

// intToString wrapped in a std::string, freeing the buffer.
std::string decimal(int value);

#endif
