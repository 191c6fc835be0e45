#include "images/Images.h"

#include "core/Utils.h"
#include "images/BitmapFile.h"

#include <utility>

namespace {
// For each frame, the frame whose bitmap stands in when its file is missing (-1: "void").
// Left comes from right, diagonals from up, and the rest from down; stepping from stepping.
const int fallbackFrame[Images::frameCount] = {-1, 0, 0, 1, 0, 1, 2, 3, 0, 1, 0, 1, 4, 5, 4, 5};
// The placeholder is the size of a grid cell.
const int placeholderSize = 50;
// The sets every kind's carcass is shown with.
const char* const meatSet = "meat";
const char* const deadSet = "dead";
} // namespace

Images::Images(std::optional<std::string> mediaFolder) : folder(std::move(mediaFolder)) {
    BitmapPtr placeholder = createPlaceholder();
    bitmaps["void"] = placeholder != nullptr ? own(std::move(placeholder)) : nullptr;
}

// Keeps a new bitmap as long as the cache, noting how it is drawn fastest: copied when
// opaque, otherwise through a run-length copy that skips transparent runs instead of testing
// every pixel.
BITMAP* Images::own(BitmapPtr bitmap) {
    BITMAP* kept = bitmap.get();
    const bool opaque = !hasMaskPixel(kept);
    RleSpritePtr runLength{opaque ? nullptr : get_rle_sprite(kept)};
    sprites.emplace(kept, Sprite{std::move(bitmap), opaque, std::move(runLength)});
    return kept;
}

const Images::Sprite* Images::findSprite(BITMAP* bitmap) const {
    auto found = sprites.find(bitmap);
    return found == sprites.end() ? nullptr : &found->second;
}

bool Images::isOpaque(BITMAP* bitmap) const {
    const Sprite* sprite = findSprite(bitmap);
    return sprite != nullptr && sprite->opaque;
}

void Images::draw(BITMAP* target, BITMAP* bitmap, int x, int y) const {
    if (bitmap == nullptr) {
        return;
    }
    const Sprite* sprite = findSprite(bitmap);
    if (sprite != nullptr && sprite->opaque) {
        blit(bitmap, target, 0, 0, x, y, bitmap->w, bitmap->h);
    } else if (sprite != nullptr && sprite->runLength != nullptr) {
        draw_rle_sprite(target, sprite->runLength.get(), x, y);
    } else {
        draw_sprite(target, bitmap, x, y);
    }
}

BitmapPtr Images::createPlaceholder() {
    BitmapPtr placeholder{create_bitmap(placeholderSize, placeholderSize)};
    if (placeholder == nullptr) {
        return nullptr;
    }
    const int white = makecol(255, 255, 255);
    clear_to_color(placeholder.get(), makecol(255, 0, 255));
    line(placeholder.get(), 0, 0, placeholder->w, placeholder->h, white);
    line(placeholder.get(), 0, placeholder->h, placeholder->w, 0, white);
    return placeholder;
}

void Images::add(const std::string& name) {
    Frames& frames = frameStore.emplace_back();
    for (int frame = 0; frame < frameCount; ++frame) {
        BITMAP* bitmap = loadFrame(name, frame);
        if (bitmap == nullptr) {
            const int from = fallbackFrame[frame];
            bitmap = from < 0 ? get("void") : frames[from];
        }
        frames[frame] = bitmap;
        bitmaps[name + decimal(frame)] = bitmap;
    }
    frameTables[name] = &frames;
    renewKindFrames(name);
    ++revisionCount;
}

std::string Images::pathIn(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

BITMAP* Images::loadFrame(const std::string& name, int frame) {
    if (!folder) {
        return nullptr;
    }
    const std::string path = pathIn(*folder, "images//" + name + decimal(frame) + ".bmp");
    // The library fills only the palette entries the file holds: the rest must be set before it
    // converts the pixels with them.
    PALETTE palette = {};
    BitmapPtr bitmap{BitmapFile::isSafeToLoad(path) ? load_bitmap(path.c_str(), palette) : nullptr};
    return bitmap != nullptr ? own(std::move(bitmap)) : nullptr;
}

bool Images::hasMaskPixel(BITMAP* bitmap) {
    const int mask = bitmap_mask_color(bitmap);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            if (getpixel(bitmap, x, y) == mask) {
                return true;
            }
        }
    }
    return false;
}

BITMAP* Images::get(const std::string& entry) {
    auto found = bitmaps.find(entry);
    return found == bitmaps.end() ? nullptr : found->second;
}

const Images::Frames& Images::getFrames(const std::string& name) {
    auto [found, made] = frameTables.try_emplace(name, nullptr);
    if (made) {
        Frames& frames = frameStore.emplace_back();
        for (int frame = 0; frame < frameCount; ++frame) {
            frames[frame] = get(name + decimal(frame));
        }
        found->second = &frames;
    }
    return *found->second;
}

const Images::KindFrames& Images::getKindFrames(const std::string& name) {
    return getKindFrames(name, name);
}

const Images::KindFrames& Images::getKindFrames(const std::string& name,
                                                const std::string& framesName) {
    auto [found, made] = kindTables.try_emplace(KindKey(name, framesName), nullptr);
    if (made) {
        found->second = &makeKindFrames(found->first);
    }
    return *found->second;
}

// The name points into the key of the map, which never moves it.
const Images::KindFrames& Images::makeKindFrames(const KindKey& kind) {
    return kindStore.emplace_back(KindFrames{&kind.first, &kind.second, &getFrames(kind.second),
                                             &getFrames(meatSet), &getFrames(deadSet)});
}

// After a set got a new table, the kinds that show it get records that point at it: those
// showing its frames, or all of them for a carcass set.
void Images::renewKindFrames(const std::string& setName) {
    const bool carcass = setName == meatSet || setName == deadSet;
    for (auto& [kind, record] : kindTables) {
        if (carcass || kind.second == setName) {
            record = &makeKindFrames(kind);
        }
    }
}
