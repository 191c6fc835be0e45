#ifndef ORVALLE_LIBRARYPTR_H
#define ORVALLE_LIBRARYPTR_H

#include <allegro.h>

#include <memory>

// Owning pointers to what the library allocates, each freed by the library's own destroy
// function when the pointer goes.
template <auto destroy> struct LibraryDeleter {
    template <typename T> void operator()(T* object) const { destroy(object); }
};

using BitmapPtr = std::unique_ptr<BITMAP, LibraryDeleter<destroy_bitmap>>;
using MidiPtr = std::unique_ptr<MIDI, LibraryDeleter<destroy_midi>>;
using RleSpritePtr = std::unique_ptr<RLE_SPRITE, LibraryDeleter<destroy_rle_sprite>>;

#endif
