#include "plot/logic/key_queue.h"

void pushKey(KeyQueue& queue, int32_t code)
{
    queue.codes[queue.writePosition] = code;
    queue.writePosition = (queue.writePosition + 1) % keyQueueSlots;
    if (queue.writePosition == queue.readPosition) {
        queue.readPosition = (queue.readPosition + 1) % keyQueueSlots;
    }
}

bool popKey(KeyQueue& queue, int32_t& code)
{
    if (queue.readPosition == queue.writePosition) {
        return false;
    }
    code = queue.codes[queue.readPosition];
    queue.readPosition = (queue.readPosition + 1) % keyQueueSlots;
    return true;
}

std::string keyText(int32_t code)
{
    if (code <= 255) {
        return std::string(1, static_cast<char>(code));
    }
    return {static_cast<char>(code % 256), static_cast<char>(code / 256)};
}
