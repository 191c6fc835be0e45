#ifndef ORVALLE_WINDOWTITLE_H
#define ORVALLE_WINDOWTITLE_H

// Titles the game's window with a UTF-8 text, once the graphics mode is set. The library's own
// set_window_title passes on only ASCII (anything else shows as "^"), so on X the window also
// gets the whole text in the properties window managers read.
void setWindowTitle(const char* title);

#endif
