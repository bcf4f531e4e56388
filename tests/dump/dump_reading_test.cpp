#include "dump/dump_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump/dump_format.h"

namespace {

// A dump as the writer writes it, of count values 0.25 x i (line ends CR LF
// or LF).
std::string dumpOf(int64_t count, const std::string& ending)
{
    std::string text;
    for (int64_t i = 0; i < count; ++i) {
        text += dumpLineText(i, 0.25f * static_cast<float>(i) - 3.0f) + ending;
    }
    return text;
}

// Only a dump as the writer writes it reads back; the first line that is not
// one is told.
TEST(DumpReading, ExactlyTheLinesTheWriterWritesReadBack)
{
    std::vector<float> values(8);
    EXPECT_EQ(readDumpText(dumpOf(8, "\r\n"), 8, values.data()), 0);
    EXPECT_EQ(values[7], -1.25f);
    EXPECT_EQ(readDumpText(dumpOf(8, "\n"), 8, values.data()), 0);
    const std::string good = dumpOf(8, "\r\n");
    const struct {
        const char* name;
        std::string text;
        int64_t badLine;
    } cases[] = {
        {"one line short", dumpOf(7, "\r\n"), 8},
        {"one line long", dumpOf(9, "\r\n"), 9},
        {"no line end at the end", good.substr(0, good.size() - 2), 8},
        {"an index out of order", dumpLineText(0, 1.0f) + "\n" + dumpLineText(2, 1.0f) + "\n", 2},
        {"a value that is no number", good.substr(0, good.find('\n') + 1) + " 1            x\n", 2},
        {"a value not as written", good.substr(0, good.find('\n') + 1) + " 1            0.50\n", 2},
        {"a lone CR", std::string(" 0            1\r"), 1},
        {"nothing", std::string(), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readDumpText(c.text, 8, values.data()), c.badLine) << c.name;
    }
}

} // namespace
