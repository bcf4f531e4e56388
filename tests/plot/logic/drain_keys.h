// Every code waiting in a key queue, oldest first, leaving it empty.
#pragma once

#include <cstdint>
#include <vector>

#include "plot/logic/key_queue.h"

inline std::vector<int32_t> drainKeys(KeyQueue& queue)
{
    std::vector<int32_t> codes;
    int32_t code = 0;
    while (popKey(queue, code)) {
        codes.push_back(code);
    }
    return codes;
}
