#ifndef ORVALLE_SPIDER_H
#define ORVALLE_SPIDER_H

#include "elements/Element.h"

// A wild creature that patrols in straight lines, hunts cyclopes and eats when hungry.
class Spider : public Element {
  public:
    explicit Spider(Habitat* owner);
    void run() override;

  private:
    void patrol();
};

#endif
