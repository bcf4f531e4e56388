#include <gtest/gtest.h>

#include <string>

#include "plot/logic/window_title.h"

namespace {

TEST(WindowTitle, KeepsTheFirst127Bytes)
{
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += static_cast<char>('!' + i % 90);
    }
    char title[windowTitleCapacity];
    keepTitle(text, title);
    EXPECT_EQ(std::string(title), text.substr(0, 127));

    keepTitle(" [site]", title);
    EXPECT_EQ(std::string(title), " [site]");
    keepTitle("", title);
    EXPECT_EQ(std::string(title), "");
    keepTitle(std::string_view("ab\0cd", 5), title);
    EXPECT_EQ(std::string(title), "ab");
}

TEST(WindowTitle, ProgramTitleIsTheFileNameWithoutExtension)
{
    EXPECT_EQ(programTitle("/usr/local/bin/wavemon"), "wavemon");
    EXPECT_EQ(programTitle("C:\\Tools\\earshot\\specmon.exe"), "specmon");
    EXPECT_EQ(programTitle("./build/plot_test"), "plot_test");
    EXPECT_EQ(programTitle("monitor.v2.exe"), "monitor.v2");
    EXPECT_EQ(programTitle("/opt/.hidden"), ".hidden");
    EXPECT_EQ(programTitle("dir.d/prog"), "prog");
    EXPECT_EQ(programTitle(""), "");
}

} // namespace
