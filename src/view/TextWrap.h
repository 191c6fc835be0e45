#ifndef ORVALLE_TEXTWRAP_H
#define ORVALLE_TEXTWRAP_H

#include <cstddef>
#include <string>
#include <vector>

// Text laid out on lines of a given number of characters, for the panel and the page of
// controls.
class TextWrap {
  public:
    // The items in their order, separated by sep, on as many lines of width characters as they
    // need; an item longer than a line has a line of its own.
    static std::vector<std::string> pack(const std::vector<std::string>& items,
                                         const std::string& sep, std::size_t width);
    // The words of a text, as spaces part them.
    static std::vector<std::string> words(const std::string& text);
};

#endif
