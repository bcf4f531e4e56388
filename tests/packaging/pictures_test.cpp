// The pictures that the README shows and the metadata names as screenshots:
// the same ones, all of pictures/, each a PNG of the window's size.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

#include "monitor/monitor_window.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every text that follows open after an occurrence of start and runs to the
// next close: "![", "](", ")" finds the picture links of Markdown.
std::set<std::string> enclosed(const std::string& text, std::string_view start, std::string_view open,
                               std::string_view close)
{
    std::set<std::string> found;
    for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
        const size_t from = text.find(open, at + start.size());
        const size_t to = from == std::string::npos ? from : text.find(close, from + open.size());
        if (to != std::string::npos) {
            found.insert(text.substr(from + open.size(), to - from - open.size()));
        }
    }
    return found;
}

// The big-endian number of four bytes from at.
uint32_t word(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

TEST(Pictures, TheReadmeAndTheMetadataShowEveryPictureEachOfTheWindowsSize)
{
    const std::string root = EARSHOT_SOURCE_DIR "/";
    const std::set<std::string> shown = enclosed(readFile(root + "README.md"), "![", "](", ")");
    std::set<std::string> screenshots;
    for (const std::string& url : enclosed(readFile(EARSHOT_METAINFO), "<image", ">", "</image>")) {
        const std::string_view homepage = EARSHOT_HOMEPAGE;
        screenshots.insert(url.starts_with(homepage) ? url.substr(homepage.size()) : url);
    }
    std::set<std::string> kept;
    for (const auto& entry : std::filesystem::directory_iterator(root + "pictures")) {
        kept.insert("pictures/" + entry.path().filename().string());
    }
    EXPECT_FALSE(kept.empty());
    EXPECT_EQ(shown, kept);
    EXPECT_EQ(screenshots, kept);
    for (const std::string& picture : kept) {
        const std::string png = readFile(root + picture);
        ASSERT_GE(png.size(), 24u) << picture;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << picture;
        EXPECT_EQ(png.substr(12, 4), "IHDR") << picture;
        EXPECT_EQ(word(png, 16), monitorWidth) << picture;
        EXPECT_EQ(word(png, 20), monitorHeight) << picture;
    }
}

} // namespace
