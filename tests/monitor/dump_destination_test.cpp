#include "monitor/dump_destination.h"

#include <gtest/gtest.h>

namespace {

// The names of a descriptor of this process that --out is written through,
// and names that only look like one.
TEST(DumpDestination, PathsThatNameADescriptorOfThisProcess)
{
    const struct {
        const char* path;
        int fd;
    } cases[] = {
        {"/dev/stdout", 1},
        {"/dev/stderr", 2},
        {"/dev/stdin", 0},
        {"/dev/fd/63", 63},
        {"/proc/self/fd/1", 1},
        {"/proc/4242/fd/7", 7},
        {"/proc/4243/fd/7", -1},
        {"/dev/fd/", -1},
        {"/dev/fd/-1", -1},
        {"/dev/fd/3x", -1},
        {"/dev/fd/99999999999", -1},
        {"dev/stdout", -1},
        {"/dev/stdout/x", -1},
        {"out.txt", -1},
        {"/proc/self/fd/1/../2", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(descriptorNamed(c.path, 4242), c.fd) << c.path;
    }
}

} // namespace
