#include "view/TextWrap.h"

#include <algorithm>

std::vector<std::string> TextWrap::pack(const std::vector<std::string>& items,
                                        const std::string& sep, std::size_t width) {
    std::vector<std::string> lines(1);
    for (const std::string& item : items) {
        std::string& line = lines.back();
        if (line.empty()) {
            line = item;
        } else if (line.size() + sep.size() + item.size() <= width) {
            line += sep + item;
        } else {
            lines.push_back(item);
        }
    }
    return lines;
}

std::vector<std::string> TextWrap::words(const std::string& text) {
    std::vector<std::string> found;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        found.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return found;
}
