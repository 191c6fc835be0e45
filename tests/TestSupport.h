#ifndef ORVALLE_TEST_SUPPORT_H
#define ORVALLE_TEST_SUPPORT_H

#include <memory>
#include <string>
#include <vector>

class World;

// A fresh temporary directory that is the working directory while the object lives.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dir; }
    void write(const std::string& name, const std::string& content) const;

  private:
    std::string dir;
    std::string previous;
};

// Map text from two character pictures of equal size, one string per row.
// Land: a adobe, l littlelawn, g ground, r rocks, L lawn, w water, anything else no land.
// Elements: @ avatar, C cyclope, F fire, T tree, S spider, # wall, anything else empty.
std::string mapText(const std::vector<std::string>& land, const std::vector<std::string>& elements);

// Writes orvalle.map into the working directory from the pictures and builds a world on it.
std::unique_ptr<World> makeWorld(const std::vector<std::string>& land,
                                 const std::vector<std::string>& elements);

// A picture of the given size filled with one character.
std::vector<std::string> filled(int width, int height, char c);

// Runs n passes of the world.
void passes(World& world, int n);

// A new bitmap of the given size filled with one colour; the caller destroys it.
struct BITMAP;
BITMAP* solidBitmap(int width, int height, int colour);

// Saves a bitmap as images/<key>.bmp in the working directory, where the image cache looks.
void saveImage(const std::string& key, BITMAP* bitmap);

// Lets go of every key and mouse button.
void releaseInput();

#endif
