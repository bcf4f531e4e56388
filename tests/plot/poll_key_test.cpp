#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "plot/controls.h"
#include "plot/state/controls_state.h"
#include "plot/state/screen_state.h"

namespace {

void queueKeys(std::initializer_list<int32_t> codes)
{
    const std::lock_guard screen(screenLock);
    for (const int32_t code : codes) {
        pushKey(keyQueue, code);
    }
    keyHit = true;
}

bool keyHitNow()
{
    const std::lock_guard screen(screenLock);
    return keyHit;
}

void drainKeys()
{
    while (!pollKey().empty()) {
    }
}

TEST(PollKey, GivesEachQueuedKeysTextOldestFirst)
{
    drainKeys();
    queueKeys({27, closeKey, 3, 130, 72 * 256 + 255});
    EXPECT_EQ(pollKey(), std::string(1, '\x1b'));
    EXPECT_EQ(pollKey(), std::string("\xff\x6b"));
    EXPECT_EQ(pollKey(), std::string(1, '\x03'));
    EXPECT_EQ(pollKey(), std::string(1, '\x82'));
    EXPECT_EQ(pollKey(), std::string("\xff\x48"));
    EXPECT_EQ(pollKey(), std::string());
}

TEST(PollKey, ClearsTheKeyHitWithOrWithoutAKey)
{
    drainKeys();
    queueKeys({65, 66});
    EXPECT_EQ(pollKey(), "A");
    EXPECT_FALSE(keyHitNow());
    queueKeys({});
    EXPECT_EQ(pollKey(), "B");
    EXPECT_EQ(pollKey(), "");
    queueKeys({});
    EXPECT_EQ(pollKey(), "");
    EXPECT_FALSE(keyHitNow());
}

TEST(NoScreen, MouseCannotBeReadOrMoved)
{
    if (screenIsOpen) {
        GTEST_SKIP() << "a screen is already open in this process";
    }
    int64_t values[5] = {7, 7, 7, 7, 7};
    EXPECT_EQ(getMouse(values[0], values[1], values[2], values[3], values[4]), 1);
    for (const int64_t value : values) {
        EXPECT_EQ(value, -1);
    }
    EXPECT_EQ(setMouse(10, 10, 1, 0), 1);
    EXPECT_EQ(getMouse(values[0], values[1], values[2], values[3], values[4]), 1);
    EXPECT_EQ(pollKey(), "");
}

} // namespace
