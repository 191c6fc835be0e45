#ifndef ORVALLE_CYCLOPE_H
#define ORVALLE_CYCLOPE_H

#include "elements/Element.h"

// A wild creature that wanders at random, hunts the avatar and eats when hungry.
class Cyclope : public Element {
  public:
    // Of its own kind, or of another kind that behaves as it does.
    explicit Cyclope(World* owner, const ElementKind& kind = ElementKind::of(CYCLOPE));
    void run() override;
};

#endif
