// A pick-up lying on layer 2 (values 9 to 16). Players collect it by reading
// the layer themselves; the powerup only vanishes: as soon as a player or an
// enemy stands on its cell or an explosion burns there.
#pragma once

#include "world/AnimatedObject.h"

class AnimationLibrary;

class Powerup : public AnimatedObject {
public:
    Powerup();
    Powerup(const Powerup& other);
    ~Powerup() override;

    // Removes itself when its cell is burning or occupied, else draws its
    // animation and rewrites its value.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;

    using AnimatedObject::copy;
    using AnimatedObject::operator=;

    // The library's animation of a powerup value; null for a value that is
    // no powerup or a library without it.
    static Animation* animationFor(const AnimationLibrary* library, int value);
};
