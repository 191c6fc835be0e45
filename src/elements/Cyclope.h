#ifndef ORVALLE_CYCLOPE_H
#define ORVALLE_CYCLOPE_H

#include "elements/Element.h"

// A wild creature that wanders at random, hunts the avatar and eats when hungry.
class Cyclope : public Element {
  public:
    explicit Cyclope(Habitat* owner);
    void run() override;
};

#endif
