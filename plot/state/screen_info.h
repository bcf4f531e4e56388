// What screenInfo reports: the open screen's or the desktop's geometry,
// refresh rate and driver. Filled by the window services and by the refresh
// thread's desktop query; a plain value, so any thread may hold one.
#pragma once

#include <cstdint>

constexpr int driverNameCapacity = 32;

struct ScreenInfo {
    int64_t width = 0;
    int64_t height = 0;
    int64_t depth = 0;
    int64_t bytesPerPixel = 0;
    int64_t pitch = 0;
    int64_t refreshRate = 0;
    char driver[driverNameCapacity] = {}; // the display driver's name, empty before a screen is open
};
