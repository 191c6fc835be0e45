#ifndef ORVALLE_AVATAR_H
#define ORVALLE_AVATAR_H

#include "elements/Element.h"

// The creature the user steers with the keyboard.
class Avatar : public Element {
  public:
    explicit Avatar(Habitat* owner);
    void run() override;

  private:
    void actOnKeys();
};

#endif
