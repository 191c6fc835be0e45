#include "world/LoadWorld.h"

#include "core/Utils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {
// Only the first 254 characters of a value count (stringToInt's work buffer), and no tag name
// that long is known, so longer texts need not be kept: memory stays bounded on any input.
const std::size_t maxBufferLength = 254;
const std::size_t chunkSize = 1 << 16;
// The shortest value, "[]".
const std::uint64_t bytesPerValue = 2;

// Only a regular file is a map. A folder gives nothing to read, a device such as /dev/zero never
// ends, and opening a pipe waits for a writer: so the file is opened without waiting and looked
// at before a byte of it is read. Null for anything else, as for a file that cannot be opened.
std::FILE* openRegularFile(const std::string& name) {
    const int descriptor = open(name.c_str(), O_RDONLY | O_NONBLOCK);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat info {};
    std::FILE* file = nullptr;
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        file = fdopen(descriptor, "r");
    }
    if (file == nullptr) {
        close(descriptor);
    }
    return file;
}
} // namespace

LoadWorld::LoadWorld(std::string name)
    : fileName(std::move(name)), width(0), height(0), elementCursor(0), landCursor(0),
      valueLimit(0), inTag(false), inBlock(false), inValue(false), section(NO_SECTION) {
    load();
}

LoadWorld::LoadWorld(std::string name, Status& status, std::FILE* source)
    : fileName(std::move(name)), width(0), height(0), elementCursor(0), landCursor(0),
      valueLimit(0), inTag(false), inBlock(false), inValue(false), section(NO_SECTION) {
    status = source != nullptr ? readFrom(source) : read();
}

void LoadWorld::load() {
    Status status = read();
    if (status == CANNOT_OPEN) {
        std::fprintf(stderr, "Error loanding file%s\n", fileName.c_str());
    } else if (status == INVALID) {
        std::fprintf(stderr, "Invalid world file: %s\n", fileName.c_str());
    }
    if (status != LOADED) {
        std::fflush(stderr);
        std::exit(1);
    }
}

LoadWorld::Status LoadWorld::read() {
    std::FILE* file = openRegularFile(fileName);
    if (file == nullptr) {
        return CANNOT_OPEN;
    }
    Status status = readFrom(file);
    std::fclose(file);
    return status;
}

LoadWorld::Status LoadWorld::readFrom(std::FILE* source) {
    valueLimit = bytesLeftIn(source) / bytesPerValue;
    std::vector<char> chunk(chunkSize);
    std::size_t count;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), source)) > 0) {
        const char* next = chunk.data();
        const char* const end = next + count;
        while (next != end) {
            next = inBlock && inValue ? takeValueText(next, end) : takeOne(next);
        }
    }
    return isValid() ? LOADED : INVALID;
}

const char* LoadWorld::takeOne(const char* next) {
    take(*next);
    return next + 1;
}

// The characters of a value up to the ']' or '}' that ends it, at once (they are most of a
// map), and then that character. A value that lies whole in the chunk is converted where it is.
const char* LoadWorld::takeValueText(const char* next, const char* end) {
    const char* stop = next;
    while (stop != end && *stop != ']' && *stop != '}') {
        ++stop;
    }
    if (stop != end && *stop == ']' && buffer.empty()) {
        closeValue(next, static_cast<std::size_t>(stop - next));
        return stop + 1;
    }
    const std::size_t room = maxBufferLength - buffer.size();
    const auto length = static_cast<std::size_t>(stop - next);
    buffer.append(next, length < room ? length : room);
    return stop != end ? takeOne(stop) : stop;
}

void LoadWorld::take(char c) {
    if (inBlock) {
        takeInBlock(c);
    } else if (inTag) {
        takeInTag(c);
    } else if (c == '<') {
        inTag = true;
    } else if (c == '{') {
        inBlock = true;
    }
}

void LoadWorld::takeInBlock(char c) {
    // A '}' ends the block even inside a value; the value goes on in the next block.
    if (c == '}') {
        inBlock = false;
    } else if (!inValue) {
        inValue = c == '[';
    } else if (c == ']') {
        closeValue(buffer.data(), buffer.size());
        buffer.clear();
    } else {
        appendToBuffer(c);
    }
}

void LoadWorld::takeInTag(char c) {
    if (c == '>') {
        closeTag();
    } else {
        appendToBuffer(c);
    }
}

void LoadWorld::appendToBuffer(char c) {
    if (buffer.size() < maxBufferLength) {
        buffer.push_back(c);
    }
}

void LoadWorld::closeValue(const char* text, std::size_t length) {
    inValue = false;
    const int value = stringToInt(text, length);
    switch (section) {
    case WORLD_SECTION: (width == 0 ? width : height) = value; break;
    case LAND_SECTION: append(landCodes, value); break;
    case ELEMENT_SECTION: append(elementCodes, value); break;
    case NO_SECTION: break;
    }
}

// The first code of a layer makes room for all of them when the size is known, as far as the
// file can hold them: a big map is then not copied over and over as it grows.
void LoadWorld::append(std::vector<int>& codes, int value) {
    if (codes.empty()) {
        const std::uint64_t cells = width > 0 && height > 0 ? static_cast<std::uint64_t>(width) *
                                                                  static_cast<std::uint64_t>(height)
                                                            : 0;
        codes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(cells, valueLimit)));
    }
    codes.push_back(value);
}

// What is left of a regular file; 0 when that cannot be told, as for a pipe or a memory stream.
std::uint64_t LoadWorld::bytesLeftIn(std::FILE* source) {
    struct stat status;
    const int descriptor = fileno(source);
    const long position = std::ftell(source);
    if (descriptor < 0 || position < 0 || fstat(descriptor, &status) != 0 ||
        !S_ISREG(status.st_mode) || status.st_size < position) {
        return 0;
    }
    return static_cast<std::uint64_t>(status.st_size - position);
}

void LoadWorld::closeTag() {
    inTag = false;
    if (buffer == "world") {
        section = WORLD_SECTION;
    } else if (buffer == "land") {
        section = LAND_SECTION;
    } else if (buffer == "element") {
        section = ELEMENT_SECTION;
    }
    buffer.clear();
}

bool LoadWorld::isValid() const {
    // Negative sizes are refused too, and the cell count is computed in 64 bits so that a
    // declared 65536 x 65536 cannot wrap to a small number.
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::uint64_t cells =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return landCodes.size() == cells && elementCodes.size() == cells;
}

int LoadWorld::getNext(int layer) {
    std::vector<int>* codes = layer == 1 ? &elementCodes : (layer == 0 ? &landCodes : nullptr);
    unsigned* cursor = layer == 1 ? &elementCursor : &landCursor;
    if (codes == nullptr || *cursor >= codes->size()) {
        return 0;
    }
    return (*codes)[(*cursor)++];
}

std::vector<int> LoadWorld::takeCodes(int layer) {
    if (layer == 1) {
        elementCursor = 0;
        return std::exchange(elementCodes, {});
    }
    if (layer == 0) {
        landCursor = 0;
        return std::exchange(landCodes, {});
    }
    return {};
}

void LoadWorld::reset(int layer) {
    if (layer == 1) {
        elementCursor = 0;
    } else if (layer == 0) {
        landCursor = 0;
    }
}
