// The ring of waiting key codes and the text a key code is handed out as.
// Pure: the caller guards the queue it passes (the screen's own, keyQueue,
// is guarded by screenLock).
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t keyQueueSlots = 16;

// The codes of the keys that end a monitor: Escape, and Ctrl-C (Ctrl with a
// letter is the letter's place in the alphabet).
constexpr int32_t escapeKeyCode = 27;
constexpr int32_t ctrlCKeyCode = 3;

// At most keyQueueSlots - 1 codes wait at once: one slot stays empty so that
// equal positions mean an empty ring.
struct KeyQueue {
    int32_t codes[keyQueueSlots] = {};
    int32_t readPosition = 0;
    int32_t writePosition = 0;
};

// Appends code; when the ring is full the oldest waiting code is lost.
void pushKey(KeyQueue& queue, int32_t code);

// Takes the oldest waiting code into code; false (code untouched) when empty.
bool popKey(KeyQueue& queue, int32_t& code);

// The text a code is handed out as: one character for codes up to 255, else
// two, the code modulo 256 then the code divided by 256.
std::string keyText(int32_t code);
