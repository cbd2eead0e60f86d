#include "actors/Powerup.h"

#include "graphics/AnimationLibrary.h"
#include "world/CellValues.h"

Powerup::Powerup() : AnimatedObject() {}

Powerup::Powerup(const Powerup& other) : Powerup() { AnimatedObject::copy(other); }

Powerup::~Powerup() = default;

GridObject* Powerup::clone() { return new Powerup(*this); }

void Powerup::draw(plat::Surface& target) {
    // The player standing here has already taken it in its own draw; an
    // enemy or a burning cell simply destroys it.
    const int onCell = tileAt(layer::kObjects, col, row);
    if (tileAt(layer::kExplosions, col, row) == cell::kExplosion || onCell == cell::kPlayer ||
        onCell == cell::kEnemy) {
        remove();
        return;
    }
    AnimatedObject::draw(target);
}

Animation* Powerup::animationFor(const AnimationLibrary* library, int value) {
    if (!library) return nullptr;
    switch (value) {
        case cell::kBombPowerup: return library->bombpowerup;
        case cell::kFirePowerup: return library->explosionpowerup;
        case cell::kDynamitePowerup: return library->dynamitepowerup;
        case cell::kMissilePowerup: return library->missilepowerup;
        case cell::kHomingPowerup: return library->homingmissilepowerup;
        case cell::kKickPowerup: return library->kickpowerup;
        case cell::kHealthPowerup: return library->healthpowerup;
        case cell::kHammerPowerup: return library->hammerpowerup;
        default: return nullptr;
    }
}
