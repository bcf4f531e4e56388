#include "plot/logic/window_title.h"

#include <algorithm>
#include <cstring>

void keepTitle(std::string_view text, char (&title)[windowTitleCapacity])
{
    text = text.substr(0, std::min(text.find('\0'), static_cast<size_t>(windowTitleCapacity - 1)));
    std::memcpy(title, text.data(), text.size());
    title[text.size()] = '\0';
}

std::string_view programTitle(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return name;
}
