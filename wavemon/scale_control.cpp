#include "wavemon/scale_control.h"

float nextScale(float scale, bool leftHeld, bool rightHeld)
{
    if (leftHeld) {
        scale = static_cast<float>(static_cast<double>(scale) * scaleShrink);
    }
    if (rightHeld) {
        scale = static_cast<float>(static_cast<double>(scale) * scaleGrow);
    }
    // Written as "not at least" so that a NaN would also land on the floor.
    if (!(static_cast<double>(scale) >= scaleFloor)) {
        scale = static_cast<float>(scaleFloor);
    }
    if (scale > scaleCeiling) {
        scale = static_cast<float>(scaleCeiling);
    }
    return scale;
}
