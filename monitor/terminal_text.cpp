#include "monitor/terminal_text.h"

#include <cstdint>

namespace {

void appendEscape(std::string& out, unsigned char byte)
{
    constexpr char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xf];
}

// The length of the valid UTF-8 sequence of two or more bytes at the start
// of text, with its code point; 0 when there is none.
size_t utf8Sequence(std::string_view text, uint32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xc2 && lead <= 0xdf   ? 2
                          : lead >= 0xe0 && lead <= 0xef ? 3
                          : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                         : 0;
    if (length == 0 || text.size() < length) {
        return 0;
    }
    codePoint = lead & (0x7f >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xc0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3f);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || (codePoint >= 0xd800 && codePoint <= 0xdfff) || codePoint > 0x10ffff) {
        return 0;
    }
    return length;
}

} // namespace

std::string escapedForTerminal(std::string_view text)
{
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '\\') {
            out += "\\\\";
            ++at;
        } else if (byte < 0x20 || byte == 0x7f) {
            appendEscape(out, byte);
            ++at;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++at;
        } else {
            uint32_t codePoint = 0;
            const size_t length = utf8Sequence(text.substr(at), codePoint);
            const bool control = codePoint >= 0x80 && codePoint <= 0x9f;
            for (size_t i = 0; i < (length == 0 ? 1 : length); ++i) {
                if (length == 0 || control) {
                    appendEscape(out, static_cast<unsigned char>(text[at + i]));
                } else {
                    out += text[at + i];
                }
            }
            at += length == 0 ? 1 : length;
        }
    }
    return out;
}
