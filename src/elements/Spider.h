#ifndef ORVALLE_SPIDER_H
#define ORVALLE_SPIDER_H

#include "elements/Element.h"

// A wild creature that patrols in straight lines, hunts cyclopes and eats when hungry.
class Spider : public Element {
  public:
    // Of its own kind, or of another kind that behaves as it does.
    explicit Spider(World* owner, const ElementKind& kind = ElementKind::of(SPIDER));
    void run() override;

  private:
    void patrol();
};

#endif
