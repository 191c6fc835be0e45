#ifndef ORVALLE_CONTROLSPAGE_H
#define ORVALLE_CONTROLSPAGE_H

#include "view/BigText.h"

#include <allegro.h>

#include <string>
#include <vector>

// The page of controls that F1 or ? opens: every row of the control table, its keys in yellow
// and the few words of what they do in white, in the big font on a black box in the middle of
// the frame, over everything else.
class ControlsPage {
  public:
    static constexpr const char* title = "Controls";
    // The box, in the frame's pixels, and the characters a line of it holds.
    static constexpr int left = 150;
    static constexpr int right = 649;
    static constexpr int top = 40;
    static constexpr int padding = 8;
    static constexpr int lineHeight = 20;

    // A line of the list: key names, and the words of what they do from the character column
    // hintColumn on; either may be empty.
    struct Line {
        std::string keys;
        std::string hint;
        int hintColumn;
    };
    // The control table's rows as the page lists them, in its order: a row's keys and words on
    // one line when they fit; otherwise the keys on as many lines as they take, the words after
    // the last of them when they fit there, or indented below.
    static std::vector<Line> lines();
    // The top of line n of the list, the title being above line 0.
    static int lineTop(int n);
    static int textLeft() { return left + padding; }

    void draw(BITMAP* frame);

  private:
    BigText bigText;
};

#endif
