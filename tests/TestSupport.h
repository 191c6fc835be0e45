#ifndef ORVALLE_TEST_SUPPORT_H
#define ORVALLE_TEST_SUPPORT_H

#include "core/InputSnapshot.h"

#include <memory>
#include <string>
#include <vector>

class World;

// A fresh temporary directory, removed with the object. While it lives it is the test's media
// folder: makeWorld writes its map there and the world reads its images from there, and
// saveImage writes into it. The working directory is never changed.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dir; }
    // The path of a file in the directory.
    std::string file(const std::string& name) const { return dir + "/" + name; }
    // Writes a file, with the folders its name asks for.
    void write(const std::string& name, const std::string& content) const;

    // The most recently created directory that still lives.
    static const TempDir& current();

  private:
    std::string dir;
    const TempDir* outer;
};

// Map text from two character pictures of equal size, one string per row, in the letters of the
// kinds table (`orvalle-sim --kinds` lists them); a letter of no kind of the layer leaves the cell
// empty.
std::string mapText(const std::vector<std::string>& land, const std::vector<std::string>& elements);

// Writes orvalle.map into the current TempDir from the pictures and builds a world on it, with
// that directory as its media folder.
std::unique_ptr<World> makeWorld(const std::vector<std::string>& land,
                                 const std::vector<std::string>& elements);

// The whole text of a file; empty when there is none.
std::string contentOf(const std::string& file);

// A picture of the given size filled with one character.
std::vector<std::string> filled(int width, int height, char c);

// Runs n passes of the world with the same controls (none unless given).
void passes(World& world, int n, const InputSnapshot& controls = InputSnapshot());

// The left button down at a pixel of the frame.
InputSnapshot clickAt(int x, int y);

// A new bitmap of the given size filled with one colour; the caller destroys it.
struct BITMAP;
BITMAP* solidBitmap(int width, int height, int colour);

// Saves a bitmap as images/<entry>.bmp in the current TempDir, where the image cache looks.
void saveImage(const std::string& entry, BITMAP* bitmap);

// How many pixels of the frame differ from the text drawn white on black at (x, y).
int differingTextPixels(BITMAP* frame, const std::string& text, int x, int y);

class Element;
// Takes health points one by one until the element has the given health.
void lowerHelthTo(Element* e, int helth);
// Kills a creature: its health runs out, and the decrement that finds it at 0 ends its life.
void kill(Element* creature);

#endif
