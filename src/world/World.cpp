#include "World.h"

#include "Avatar.h"
#include "Cyclope.h"
#include "Element.h"
#include "ElementArena.h"
#include "Images.h"
#include "LoadWorld.h"
#include "Spider.h"
#include "Timer.h"
#include "Vision.h"

#include <cstdlib>

namespace {
const int cellSize = 50;
const int halfCell = 25;
const int frameWidth = 800;
const int frameHeight = 600;
const int highestWalkableLand = 199;
// How many cells ahead of the sweep elements are fetched into the cache.
const int prefetchDistance = 8;

const char* const imageSets[] = {"meat",       "dead",   "avatar", "cyclope", "water",
                                 "adobe",      "spider", "ground", "fire",    "lawn",
                                 "littlelawn", "rocks",  "tree",   "wall"};

// The image set of a land code, null for a code that makes no land.
const char* landName(int code) {
    switch (code) {
    case ADOBE: return "adobe";
    case LITTLELAWN: return "littlelawn";
    case GROUND: return "ground";
    case ROCKS: return "rocks";
    case LAWN: return "lawn";
    case WATER: return "water";
    default: return nullptr;
    }
}

// The cell at distance d ahead and lateral offset k of a viewer at (x, y), per facing.
bool coneCell(int facing, int x, int y, int d, int k, int& cx, int& cy) {
    switch (facing) {
    case 0:
    case 8:
    case 10:
        cx = x + k;
        cy = y + d;
        return true;
    case 2:
        cx = x + d;
        cy = y + k;
        return true;
    case 4:
    case 12:
    case 14:
        cx = x + k;
        cy = y - d;
        return true;
    case 6:
        cx = x - d;
        cy = y + k;
        return true;
    default: return false;
    }
}
} // namespace

World::World(std::string fileName)
    : image(nullptr), buffer(nullptr), music(nullptr), x(0), y(0), avatar(nullptr),
      selected(nullptr), height(0), width(0), calendar(nullptr), images(nullptr),
      arena(std::make_unique<ElementArena>()) {
    buffer = create_bitmap(900, 700);
    image = create_bitmap(frameWidth, frameHeight);
    calendar = new Timer();
    music = load_midi("clkcwhrv.mid");
    setMusic(true);
    images = new Images();
    for (const char* name : imageSets) {
        images->add(name);
    }
    loadWorld(fileName);
}

World::~World() {
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row) {
            destroy(get(1, column, row));
            destroy(get(0, column, row));
        }
    }
    for (Type* layer : layers) {
        for (Line* line : layer->columns) {
            delete line;
        }
        delete layer;
    }
    layers.clear();
    for (Element* element : removed) {
        destroy(element);
    }
    delete images;
    delete calendar;
    if (music != nullptr) {
        destroy_midi(music);
    }
    // The mouse pointer is drawn onto the frame; take it off before the frame goes away, or
    // the library would later restore the pointer's background into freed memory.
    show_mouse(nullptr);
    if (image != nullptr) {
        destroy_bitmap(image);
    }
    if (buffer != nullptr) {
        destroy_bitmap(buffer);
    }
}

void World::destroy(Element* element) {
    if (element != nullptr) {
        ElementArena::destroy(element);
    }
}

void World::run() {
    while (!key[KEY_ESC]) {
        pass();
        rest(30);
    }
}

void World::pass() {
    simulate();
    selectWithMouse();
    draw();
    clear_keybuf();
}

void World::simulate() {
    runGrid();
    centreView();
    incTimer();
}

// Columns outer, rows inner. An element that steps down or right lands in a cell not yet
// visited and is run again; that is part of the rules. Each cell is read when its turn comes.
void World::runGrid() {
    for (int column = 0; column < width; ++column) {
        std::vector<Element*>& elementCells = layers[1]->columns[column]->cells;
        std::vector<Element*>& landCells = layers[0]->columns[column]->cells;
        for (int row = 0; row < height; ++row) {
            // The element layer is sparse, so the hardware cannot guess where its next element
            // lies: ask for the elements a few cells ahead of their turn.
            if (row + prefetchDistance < height) {
                __builtin_prefetch(elementCells[row + prefetchDistance], 1);
                __builtin_prefetch(landCells[row + prefetchDistance], 1);
            }
            runCell(elementCells[row]);
            runCell(landCells[row]);
        }
    }
}

void World::runCell(Element*& cell) {
    Element* element = cell;
    if (element == nullptr) {
        return;
    }
    element->run();
    if (element->isToErase()) {
        cell = nullptr;
        removed.push_back(element);
    }
}

void World::centreView() {
    if (avatar == nullptr) {
        return;
    }
    setX(avatar->getX() - getScreenWidth() / 2);
    setY(avatar->getY() - getScreenHeight() / 2);
}

void World::selectWithMouse() {
    if ((mouse_b & 1) == 0) {
        return;
    }
    Element* clicked = get(1, getX() + mouse_x / cellSize, getY() + mouse_y / cellSize);
    if (clicked != nullptr) {
        selected = clicked;
    }
}

void World::incTimer() {
    calendar->inc();
}

void World::setMusic(bool on) {
    // Without a loaded tune there is nothing to start, and the world stays silent.
    if (!on) {
        stop_midi();
    } else if (music != nullptr) {
        play_midi(music, -1);
    }
}

int World::clampOrigin(int v, int size, int screenSize) {
    const int max = size - screenSize;
    if (v > max) {
        return max;
    }
    return v < 0 ? 0 : v;
}

void World::setX(int v) {
    x = clampOrigin(v, width, getScreenWidth());
}
void World::setY(int v) {
    y = clampOrigin(v, height, getScreenHeight());
}

Element* World::get(int layer, int column, int row) const {
    if (column < 0 || column >= width || row < 0 || row >= height ||
        static_cast<unsigned>(layer) >= layers.size()) {
        return nullptr;
    }
    return layers[layer]->columns[column]->cells[row];
}

void World::set(int layer, int column, int row, Element* e) {
    if (column < 0 || column >= width || row < 0 || row >= height ||
        static_cast<unsigned>(layer) >= layers.size() || layer > 1) {
        return;
    }
    layers[layer]->columns[column]->cells[row] = e;
}

bool World::stepOf(int direction, int& dx, int& dy) {
    // Down, right, up, left, then the diagonals down-right, down-left, up-right, up-left.
    static const int steps[8][2] = {{0, 1}, {1, 0},  {0, -1}, {-1, 0},
                                    {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    if (direction < 0 || direction > 14 || direction % 2 != 0) {
        return false;
    }
    dx = steps[direction / 2][0];
    dy = steps[direction / 2][1];
    return true;
}

Element* World::get(Element* e, int layer, int direction) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(direction, dx, dy)) {
        return nullptr;
    }
    const int ex = e->getX();
    const int ey = e->getY();
    const bool inside = (dx != 1 || ex < width - 1) && (dx != -1 || ex > 0) &&
                        (dy != 1 || ey < height - 1) && (dy != -1 || ey > 0);
    return inside ? get(layer, ex + dx, ey + dy) : nullptr;
}

Element* World::getFront(Element* e, int layer) const {
    int dx = 0;
    int dy = 0;
    if (!stepOf(e->getDirection(), dx, dy)) {
        return nullptr;
    }
    return get(layer, e->getX() + dx, e->getY() + dy);
}

bool World::move(Element* e, int direction) {
    Element* land = get(e, 0, direction);
    if (land == nullptr || land->getType() > highestWalkableLand ||
        get(e, 1, direction) != nullptr) {
        return false;
    }
    int dx = 0;
    int dy = 0;
    stepOf(direction, dx, dy);
    const int nx = e->getX() + dx;
    const int ny = e->getY() + dy;
    set(1, nx, ny, e);
    set(1, e->getX(), e->getY(), nullptr);
    e->setX(nx);
    e->setY(ny);
    return true;
}

Vision* World::getVision(Element* e, int range) const {
    if (e == nullptr) {
        return nullptr;
    }
    Vision* vision = new Vision();
    see(e, range, *vision);
    return vision;
}

void World::see(Element* e, int range, Vision& vision) const {
    const int ex = e->getX();
    const int ey = e->getY();
    const int facing = e->getDirection();
    for (int d = 1; d <= range; ++d) {
        for (int k = -d; k <= d; ++k) {
            int cx = 0;
            int cy = 0;
            if (!coneCell(facing, ex, ey, d, k, cx, cy)) {
                return;
            }
            vision.add(get(1, cx, cy), 1);
            vision.add(get(0, cx, cy), 0);
        }
    }
}

void World::loadWorld(std::string fileName) {
    LoadWorld reader(fileName);
    height = reader.getHeight();
    width = reader.getWidth();
    // The file lists the cells row by row, and in that order the first avatar wins and the land
    // tiles draw their random step times.
    const std::size_t cells = static_cast<std::size_t>(width) * height;
    std::vector<int> elementCodes(cells);
    std::vector<int> landCodes(cells);
    std::vector<int> landTimes(cells);
    bool avatarSeen = avatar != nullptr;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        elementCodes[cell] = reader.getNext(1);
        if (elementCodes[cell] == AVATAR) {
            elementCodes[cell] = avatarSeen ? 0 : AVATAR;
            avatarSeen = true;
        }
        landCodes[cell] = reader.getNext(0);
        landTimes[cell] = landName(landCodes[cell]) != nullptr ? std::rand() % 4 + 10 : 0;
    }
    createInSweepOrder(elementCodes, landCodes, landTimes);
}
// Columns outer, rows inner, the element before the land: the order in which runGrid visits them.
void World::createInSweepOrder(const std::vector<int>& elementCodes,
                               const std::vector<int>& landCodes,
                               const std::vector<int>& landTimes) {
    Type* land = new Type();
    Type* elements = new Type();
    for (int column = 0; column < width; ++column) {
        land->columns.push_back(new Line{std::vector<Element*>(height, nullptr)});
        elements->columns.push_back(new Line{std::vector<Element*>(height, nullptr)});
        for (int row = 0; row < height; ++row) {
            const std::size_t cell = static_cast<std::size_t>(row) * width + column;
            elements->columns[column]->cells[row] = createElement(elementCodes[cell], column, row);
            Element* tile = createLand(landCodes[cell]);
            if (tile != nullptr) {
                tile->setX(column);
                tile->setY(row);
                tile->setMaxTime(landTimes[cell]);
            }
            land->columns[column]->cells[row] = tile;
        }
    }
    layers.push_back(land);
    layers.push_back(elements);
}

Element* World::createElement(int code, int column, int row) {
    Element* element = nullptr;
    switch (code) {
    case AVATAR: element = avatar = arena->create<Avatar>(this); break;
    case CYCLOPE: element = arena->create<Cyclope>(this); break;
    case SPIDER: element = arena->create<Spider>(this); break;
    case FIRE: element = arena->create<Element>(this, "fire", FIRE); break;
    case TREE: element = arena->create<Element>(this, "tree", TREE); break;
    case WALL: element = arena->create<Element>(this, "wall", WALL); break;
    default: return nullptr;
    }
    element->setX(column);
    element->setY(row);
    if (element == avatar) {
        setX(column - getScreenWidth() / 2);
        setY(row - getScreenHeight() / 2);
    }
    return element;
}

Element* World::createLand(int code) {
    const char* name = landName(code);
    return name != nullptr ? arena->create<Element>(this, name, code) : nullptr;
}

void World::draw() {
    show_mouse(nullptr);
    clearUncoveredCells();
    drawLand();
    drawElements();
    int sx = cellSize;
    int sy = cellSize;
    viewShift(sx, sy);
    blit(buffer, image, sx, sy, 0, 0, frameWidth, frameHeight);
    if (selected != nullptr) {
        textout_ex(image, font, selected->toString().c_str(), 10, 10, makecol(255, 255, 255),
                   makecol(0, 0, 0));
    }
    show_mouse(image);
    blit(image, screen, 0, 0, 0, 0, frameWidth, frameHeight);
}

// Black where no opaque land tile will cover a window cell, all before any tile is drawn: the
// frame of clearing the whole buffer first, without writing most of its pixels twice.
void World::clearUncoveredCells() {
    const int black = makecol(0, 0, 0);
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            Element* tile = get(0, x + i, y + k);
            if (!coversCell(tile != nullptr ? tile->getImage() : nullptr)) {
                const int px = i * cellSize + cellSize;
                const int py = k * cellSize + cellSize;
                rectfill(buffer, px, py, px + cellSize - 1, py + cellSize - 1, black);
            }
        }
    }
}

bool World::coversCell(BITMAP* tile) const {
    return tile != nullptr && tile->w >= cellSize && tile->h >= cellSize && images->isOpaque(tile);
}

// Window cells -1..16 by -1..12: the visible 16 x 12 plus a margin cell on every side.
void World::drawLand() {
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            if (Element* tile = get(0, x + i, y + k)) {
                images->draw(buffer, tile->getImage(), i * cellSize + cellSize,
                             k * cellSize + cellSize);
            }
        }
    }
}

void World::drawElements() {
    for (int i = -1; i <= getScreenWidth(); ++i) {
        for (int k = -1; k <= getScreenHeight(); ++k) {
            Element* element = get(1, x + i, y + k);
            if (element == nullptr || element->getImage() == nullptr) {
                continue;
            }
            int px = i * cellSize + halfCell;
            int py = k * cellSize + halfCell;
            int dx = 0;
            int dy = 0;
            // Half a step behind its new cell while the first half of the step lasts.
            if (element->isWalking() && element->isStep() &&
                stepOf(element->getDirection(), dx, dy)) {
                px -= halfCell * dx;
                py -= halfCell * dy;
            }
            images->draw(buffer, element->getImage(), px, py);
        }
    }
}

// While the avatar is in the first half of a step the view trails it by half a cell, except
// against an edge of the grid, where the view cannot move.
void World::viewShift(int& sx, int& sy) const {
    int dx = 0;
    int dy = 0;
    if (avatar == nullptr || !avatar->isWalking() || !avatar->isStep() ||
        !stepOf(avatar->getDirection(), dx, dy)) {
        return;
    }
    const bool roomX = 0 < x && x < width - getScreenWidth();
    const bool roomY = 0 < y && y < height - getScreenHeight();
    const bool shifts =
        (dy == 0 && roomX) || (dx == 0 && roomY) || (dx != 0 && dy != 0 && roomX && roomY);
    if (shifts) {
        sx = cellSize - halfCell * dx;
        sy = cellSize - halfCell * dy;
    }
}
