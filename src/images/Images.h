#ifndef ORVALLE_IMAGES_H
#define ORVALLE_IMAGES_H

#include "images/LibraryPtr.h"

#include <allegro.h>

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

// Bitmaps loaded by name + frame number (0..15) from images//<name><frame>.bmp in a media folder.
// A missing frame is filled from a lower frame of the same name, frame 0 from the placeholder
// "void".
class Images {
  public:
    static const int frameCount = 16;
    using Frames = std::array<BITMAP*, frameCount>;

    // Reads the frame files under the folder ("" for the working directory); without a folder no
    // file is read and every frame falls back to the placeholder.
    explicit Images(std::optional<std::string> mediaFolder = std::string());
    Images(const Images&) = delete;
    Images& operator=(const Images&) = delete;

    // Loads the frame files of a set and stores them under name + 0..15. Each add gives the name
    // a new frame table, and new kind records to the kinds that show it; tables and records
    // handed out before stay alive and unchanged, so elements built earlier keep their looks.
    void add(const std::string& name);
    // The bitmap stored under a key (a name and frame number, or "void"); null if none is.
    BITMAP* get(const std::string& entry);

    // The path of a file in a folder: the name alone for "", otherwise folder/name.
    static std::string pathIn(const std::string& folder, const std::string& name);

    // The newest frame table of a name: the one its last add made, or for a name never added the
    // bitmaps stored under name + 0..15, null where a key is not stored. Every table lives as
    // long as the cache, so elements can share it instead of copying it.
    const Frames& getFrames(const std::string& name);

    // What every element of a kind shares: its name, its frames, and the "meat" and "dead" frames
    // for its carcass (frame 0 of each is shown). Kept as long as the cache, so that elements can
    // point at it instead of each holding a copy, and a world looks it up once per kind. The
    // record given is the one of the newest tables: adding one of its sets again makes a new one.
    struct KindFrames {
        const std::string* name;
        // The name of the set its frames come from: the kind's own, or another (an element
        // that changed its looks).
        const std::string* framesName;
        const Frames* frames;
        const Frames* meat;
        const Frames* dead;
    };
    const KindFrames& getKindFrames(const std::string& name);
    // A kind's name with the frames of another name, for an element that changes its looks.
    const KindFrames& getKindFrames(const std::string& name, const std::string& framesName);

    // Grows with every add. A holder of tables or records that sees it grow looks them up again
    // to show the newest.
    unsigned revision() const { return revisionCount; }

    // True when the bitmap has no pixel in the mask colour, so copying it equals masked drawing.
    bool isOpaque(BITMAP* bitmap) const;

    // Draws a bitmap like draw_sprite, leaving out its mask-coloured pixels, by the fastest way
    // that gives the same pixels: a plain copy for an opaque bitmap, the run-length form for
    // other bitmaps of the cache, draw_sprite for the rest. Nothing for a null bitmap.
    void draw(BITMAP* target, BITMAP* bitmap, int x, int y) const;

  private:
    // A bitmap the cache owns, with what drawing it needs, so that a draw looks it up once.
    struct Sprite {
        BitmapPtr bitmap;
        bool opaque;
        // Null for an opaque bitmap, and when the library could not make one.
        RleSpritePtr runLength;
    };
    // A kind's name and the name of the frames it shows.
    using KindKey = std::pair<std::string, std::string>;

    static BitmapPtr createPlaceholder();
    BITMAP* loadFrame(const std::string& name, int frame);
    BITMAP* own(BitmapPtr bitmap);
    static bool hasMaskPixel(BITMAP* bitmap);
    const Sprite* findSprite(BITMAP* bitmap) const;
    const KindFrames& makeKindFrames(const KindKey& kind);
    void renewKindFrames(const std::string& setName);

    std::optional<std::string> folder;
    // Hashed: every element built looks up its frames here.
    std::unordered_map<std::string, BITMAP*> bitmaps;
    std::unordered_map<BITMAP*, Sprite> sprites;
    // Every table and record ever handed out; a deque never moves what it holds.
    std::deque<Frames> frameStore;
    std::deque<KindFrames> kindStore;
    // The newest of each.
    std::unordered_map<std::string, const Frames*> frameTables;
    std::map<KindKey, const KindFrames*> kindTables;
    unsigned revisionCount = 0;
};

#endif
