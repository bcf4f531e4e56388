// The waveform monitor's vertical scale, driven by the held mouse buttons.
#pragma once

inline constexpr float scaleStart = 1.0f;

// One frame of scale control: the left button multiplies by 0.7, then the
// right one by 1.4, each product formed in double precision and stored in
// single; then the result is kept within 0.1 (the single nearest to it) and 10.
float nextScale(float scale, bool leftHeld, bool rightHeld);
