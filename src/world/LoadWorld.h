#ifndef ORVALLE_LOADWORLD_H
#define ORVALLE_LOADWORLD_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Reads a map file: tags <world>, <land> and <element> select a section; blocks { } hold
// values [ ] that go to the current section. The world section gives width then height; the
// land and element sections list one code per cell, row by row.
class LoadWorld {
  public:
    enum Status { LOADED, CANNOT_OPEN, INVALID };

    // Reads and checks the file; on failure prints the error and ends the program with status 1.
    explicit LoadWorld(std::string fileName);
    // Reads and checks without ending the program: from source when given (left open), otherwise
    // from the named file. The outcome is reported through status.
    LoadWorld(std::string fileName, Status& status, std::FILE* source = nullptr);
    virtual ~LoadWorld() = default;

    void load();
    int getNext(int layer);
    void reset(int layer);
    // Hands over a layer's codes, row by row, leaving none behind (empty for another layer).
    std::vector<int> takeCodes(int layer);
    int getWidth() const { return width; }
    int getHeight() const { return height; }

  private:
    enum Section { NO_SECTION, WORLD_SECTION, LAND_SECTION, ELEMENT_SECTION };

    Status read();
    Status readFrom(std::FILE* source);
    const char* takeOne(const char* next);
    const char* takeValueText(const char* next, const char* end);
    void take(char c);
    void takeInBlock(char c);
    void takeInTag(char c);
    // Only the first 254 characters of a value count.
    void closeValue(const char* text, std::size_t length);
    void closeTag();
    void appendToBuffer(char c);
    bool isValid() const;
    void append(std::vector<int>& codes, int value);
    static std::uint64_t bytesLeftIn(std::FILE* source);

    std::string fileName;
    std::vector<int> elementCodes;
    std::vector<int> landCodes;
    int width;
    int height;
    unsigned elementCursor;
    unsigned landCursor;
    // No layer can have more codes than this, by the size of the file.
    std::uint64_t valueLimit;

    // Reading state: the one text buffer serves both tag names and values.
    bool inTag;
    bool inBlock;
    bool inValue;
    Section section;
    std::string buffer;
};

#endif
