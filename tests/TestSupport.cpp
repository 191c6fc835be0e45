#include "TestSupport.h"

#include "elements/Element.h"
#include "elements/ElementKind.h"
#include "world/World.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {
const TempDir* innermost = nullptr;
} // namespace

TempDir::TempDir() : outer(innermost) {
    char pattern[] = "/tmp/orvalle-test-XXXXXX";
    dir = mkdtemp(pattern);
    innermost = this;
}

TempDir::~TempDir() {
    innermost = outer;
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

const TempDir& TempDir::current() {
    if (innermost == nullptr) {
        std::fprintf(stderr, "No TempDir lives: the test needs one for its files\n");
        std::abort();
    }
    return *innermost;
}

void TempDir::write(const std::string& name, const std::string& content) const {
    const std::filesystem::path path = file(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

namespace {
// The code of the kind a letter stands for on the layer, 0 (nothing) for any other letter.
std::string block(const std::vector<std::string>& rows, int layer) {
    std::string text = "{\n";
    for (const std::string& row : rows) {
        for (char c : row) {
            const ElementKind* kind = ElementKind::findLetter(layer, c);
            // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a + b + c at -O3.
            text += '[';
            text += std::to_string(kind != nullptr ? kind->type : 0);
            text += ']';
        }
        text += "\n";
    }
    return text + "}\n";
}
} // namespace

std::string mapText(const std::vector<std::string>& land,
                    const std::vector<std::string>& elements) {
    const std::size_t width = land.empty() ? 0 : land[0].size();
    return "<world>\n{[" + std::to_string(width) + "][" + std::to_string(land.size()) +
           "]}\n<land>\n" + block(land, World::landLayer) + "<element>\n" +
           block(elements, World::elementLayer);
}

std::unique_ptr<World> makeWorld(const std::vector<std::string>& land,
                                 const std::vector<std::string>& elements) {
    const TempDir& dir = TempDir::current();
    dir.write("orvalle.map", mapText(land, elements));
    return std::make_unique<World>(dir.file("orvalle.map"), dir.path());
}

std::string contentOf(const std::string& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> filled(int width, int height, char c) {
    return std::vector<std::string>(height, std::string(width, c));
}

void passes(World& world, int n, const InputSnapshot& controls) {
    for (int i = 0; i < n; ++i) {
        world.pass(controls);
    }
}

InputSnapshot clickAt(int x, int y) {
    InputSnapshot click;
    click.leftButton = true;
    click.pointerX = x;
    click.pointerY = y;
    return click;
}

BITMAP* solidBitmap(int width, int height, int colour) {
    BITMAP* bitmap = create_bitmap(width, height);
    clear_to_color(bitmap, colour);
    return bitmap;
}

void saveImage(const std::string& entry, BITMAP* bitmap) {
    const TempDir& dir = TempDir::current();
    mkdir(dir.file("images").c_str(), 0755);
    save_bitmap(dir.file("images/" + entry + ".bmp").c_str(), bitmap, nullptr);
}

int differingTextPixels(BITMAP* frame, const std::string& text, int x, int y) {
    BITMAP* expected = create_bitmap(text_length(font, text.c_str()), text_height(font));
    textout_ex(expected, font, text.c_str(), 0, 0, makecol(255, 255, 255), makecol(0, 0, 0));
    int differing = 0;
    for (int row = 0; row < expected->h; ++row) {
        for (int column = 0; column < expected->w; ++column) {
            differing += getpixel(expected, column, row) != getpixel(frame, x + column, y + row);
        }
    }
    destroy_bitmap(expected);
    return differing;
}

void lowerHelthTo(Element* e, int helth) {
    while (e->getHelth() > helth) {
        e->decHelth();
    }
}

void kill(Element* creature) {
    lowerHelthTo(creature, 0);
    creature->decHelth();
}
