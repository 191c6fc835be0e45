#ifndef ORVALLE_CONE_H
#define ORVALLE_CONE_H

#include "elements/Vision.h"

#include <algorithm>

// How the cone a creature sees lies on the grid: row d of the cone is d cells along (alongX,
// alongY) from the viewer, and its cells are k cells across it, along (acrossX, acrossY), k from
// -d to d. The diagonal facings look straight down or up; an odd facing sees nothing.
struct Cone {
    int alongX = 0;
    int alongY = 0;
    int acrossX = 0;
    int acrossY = 0;

    // The cone of a facing; false for a facing that sees nothing.
    static bool of(int facing, Cone& cone) {
        switch (facing) {
        case 0:
        case 8:
        case 10: cone = {0, 1, 1, 0}; return true;
        case 2: cone = {1, 0, 0, 1}; return true;
        case 4:
        case 12:
        case 14: cone = {0, -1, 1, 0}; return true;
        case 6: cone = {-1, 0, 0, 1}; return true;
        default: return false;
        }
    }

    // Calls visit(cx, cy) for each cell of the cone inside a width x height grid: row d holds the
    // 2d + 1 cells at offsets -d to +d, nearest row first, each row in that order.
    template <class Visit>
    static void forEachCell(const Viewpoint& from, int width, int height, Visit visit) {
        Cone cone;
        if (!of(from.facing, cone)) {
            return;
        }
        // Along a row of the cone one coordinate stays and the other runs: a row lies in the
        // grid where the staying one does, and only its cells where the running one does.
        const bool acrossColumns = cone.acrossX != 0;
        const long long stayStep = acrossColumns ? cone.alongY : cone.alongX;
        const long long stayLimit = acrossColumns ? height : width;
        const long long runLimit = acrossColumns ? width : height;
        for (int d = 1; d <= from.range; ++d) {
            const long long rowX = from.x + static_cast<long long>(cone.alongX) * d;
            const long long rowY = from.y + static_cast<long long>(cone.alongY) * d;
            const long long stay = acrossColumns ? rowY : rowX;
            if (stay < 0 || stay >= stayLimit) {
                // Rows further on lie further out.
                if ((stay < 0) == (stayStep < 0)) {
                    return;
                }
                continue;
            }
            const long long run = acrossColumns ? rowX : rowY;
            const long long first = std::max<long long>(-d, -run);
            const long long last = std::min<long long>(d, runLimit - 1 - run);
            for (long long k = first; k <= last; ++k) {
                visit(static_cast<int>(rowX + cone.acrossX * k),
                      static_cast<int>(rowY + cone.acrossY * k));
            }
        }
    }

    // Whether the cell (cx, cy) lies in the cone seen from a viewpoint.
    static bool holds(const Viewpoint& from, int cx, int cy) {
        Cone cone;
        if (!of(from.facing, cone)) {
            return false;
        }
        const int dx = cx - from.x;
        const int dy = cy - from.y;
        const int d = dx * cone.alongX + dy * cone.alongY;
        const int k = dx * cone.acrossX + dy * cone.acrossY;
        return d >= 1 && d <= from.range && k >= -d && k <= d;
    }
};

#endif
