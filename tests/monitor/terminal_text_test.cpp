#include "monitor/terminal_text.h"

#include <gtest/gtest.h>

namespace {

// What may reach a terminal of an argument it is told of: nothing that moves
// the cursor, clears the screen or breaks the line; text in any script stays
// readable.
TEST(TerminalText, ControlsAndBrokenUtf8BecomeEscapesAndTextStays)
{
    const std::pair<std::string, std::string> cases[] = {
        {"--frob", "--frob"},
        {"\x1b[2J", "\\x1b[2J"},
        {"a\nb\rc\td", "a\\x0ab\\x0dc\\x09d"},
        {std::string("nul\0end", 7), "nul\\x00end"},
        {"del\x7f", "del\\x7f"},
        {"back\\slash", "back\\\\slash"},
        {"Gr\xc3\xbc\xc3\x9f"
         "e \xe6\x97\xa5 \xf0\x9f\x8e\xb5",
         "Gr\xc3\xbc\xc3\x9f"
         "e \xe6\x97\xa5 \xf0\x9f\x8e\xb5"},
        // C1 controls as UTF-8 (U+009B is a one-character CSI) and as bare bytes.
        {"\xc2\x9b"
         "2J",
         "\\xc2\\x9b2J"},
        {"\x9b"
         "2J",
         "\\x9b2J"},
        // Overlong, surrogate and cut-off sequences are no UTF-8.
        {"\xc0\xaf", "\\xc0\\xaf"},
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"cut \xe6\x97", "cut \\xe6\\x97"},
        {"\xf5\x80\x80\x80", "\\xf5\\x80\\x80\\x80"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(escapedForTerminal(text), shown);
    }
}

} // namespace
