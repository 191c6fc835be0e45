#ifndef ORVALLE_AVATAR_H
#define ORVALLE_AVATAR_H

#include "elements/Element.h"

// The creature the user steers with the keyboard.
class Avatar : public Element {
  public:
    // Of its own kind, or of another kind that behaves as it does.
    explicit Avatar(World* owner, const ElementKind& kind = ElementKind::of(AVATAR));
    void run() override;

  private:
    void actOnKeys();
};

#endif
