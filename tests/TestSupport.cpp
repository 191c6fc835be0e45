#include "TestSupport.h"

#include "World.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

TempDir::TempDir() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) != nullptr) {
        previous = buffer;
    }
    char pattern[] = "/tmp/orvalle-test-XXXXXX";
    dir = mkdtemp(pattern);
    if (chdir(dir.c_str()) != 0) {
        std::perror("chdir");
    }
}

TempDir::~TempDir() {
    if (chdir(previous.c_str()) != 0) {
        std::perror("chdir");
    }
    std::string command = "rm -rf '" + dir + "'";
    if (std::system(command.c_str()) != 0) {
        std::perror("rm");
    }
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out << content;
}

namespace {
int landCode(char c) {
    switch (c) {
    case 'a': return 100;
    case 'l': return 101;
    case 'g': return 102;
    case 'r': return 103;
    case 'L': return 104;
    case 'w': return 300;
    default: return 0;
    }
}

int elementCode(char c) {
    switch (c) {
    case '@': return 1;
    case 'C': return 2;
    case 'F': return 3;
    case 'T': return 4;
    case 'S': return 5;
    case '#': return 200;
    default: return 0;
    }
}

std::string block(const std::vector<std::string>& rows, int (*code)(char)) {
    std::string text = "{\n";
    for (const std::string& row : rows) {
        for (char c : row) {
            text += "[" + std::to_string(code(c)) + "]";
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
           "]}\n<land>\n" + block(land, landCode) + "<element>\n" + block(elements, elementCode);
}

std::unique_ptr<World> makeWorld(const std::vector<std::string>& land,
                                 const std::vector<std::string>& elements) {
    std::ofstream("orvalle.map") << mapText(land, elements);
    return std::make_unique<World>("orvalle.map");
}

std::vector<std::string> filled(int width, int height, char c) {
    return std::vector<std::string>(height, std::string(width, c));
}

void passes(World& world, int n) {
    for (int i = 0; i < n; ++i) {
        world.pass();
    }
}

BITMAP* solidBitmap(int width, int height, int colour) {
    BITMAP* bitmap = create_bitmap(width, height);
    clear_to_color(bitmap, colour);
    return bitmap;
}

void saveImage(const std::string& key, BITMAP* bitmap) {
    mkdir("images", 0755);
    save_bitmap(("images/" + key + ".bmp").c_str(), bitmap, nullptr);
}

void releaseInput() {
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    mouse_b = 0;
    mouse_x = 0;
    mouse_y = 0;
}
