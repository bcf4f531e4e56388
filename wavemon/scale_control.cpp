#include "wavemon/scale_control.h"

float nextScale(float scale, bool leftHeld, bool rightHeld)
{
    if (leftHeld) {
        scale = static_cast<float>(static_cast<double>(scale) * 0.7);
    }
    if (rightHeld) {
        scale = static_cast<float>(static_cast<double>(scale) * 1.4);
    }
    // Written as "not at least" so that a NaN would also land on the floor.
    if (!(static_cast<double>(scale) >= 0.1)) {
        scale = 0.1f;
    }
    if (scale > 10.0) {
        scale = 10.0f;
    }
    return scale;
}
