// The waveform monitor's vertical scale, driven by the held mouse buttons.
#pragma once

inline constexpr float scaleStart = 1.0f;
inline constexpr double scaleShrink = 0.7; // per frame while the left button is held
inline constexpr double scaleGrow = 1.4;   // per frame while the right button is held
inline constexpr double scaleFloor = 0.1;  // kept as the single nearest to it
inline constexpr double scaleCeiling = 10.0;

// One frame of scale control: the left button multiplies by scaleShrink, then
// the right one by scaleGrow, each product formed in double precision and
// stored in single; then the result is kept within scaleFloor and
// scaleCeiling.
float nextScale(float scale, bool leftHeld, bool rightHeld);
