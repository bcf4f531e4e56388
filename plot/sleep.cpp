#include <chrono>
#include <mutex>
#include <thread>

#include "plot/input.h"
#include "plot/input_state.h"
#include "plot/pause_steps.h"
#include "plot/screen_state.h"

void sleepMs(int32_t ms)
{
    // Each test of the flag is a service call of its own; the sleeping in
    // between holds no lock, so drawing threads and the refresh go on.
    const auto takeKeyHit = [] {
        const std::lock_guard services(servicesLock);
        const std::lock_guard screen(screenLock);
        const bool hit = keyHit;
        keyHit = false;
        return hit;
    };
    const auto sleepFor = [](int32_t stepMs) { std::this_thread::sleep_for(std::chrono::milliseconds(stepMs)); };
    pauseSteps(ms, takeKeyHit, sleepFor);
}
