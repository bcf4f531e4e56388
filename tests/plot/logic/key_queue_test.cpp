#include <gtest/gtest.h>

#include <vector>

#include "plot/logic/key_queue.h"
#include "plot/logic/key_translate.h"
#include "tests/plot/logic/drain_keys.h"

namespace {

TEST(KeyQueue, EmptyQueueGivesNothingAndLeavesTheCodeAlone)
{
    KeyQueue queue;
    int32_t code = 4242;
    EXPECT_FALSE(popKey(queue, code));
    EXPECT_EQ(code, 4242);
}

TEST(KeyQueue, KeepsOrderAcrossTheEndOfTheRing)
{
    KeyQueue queue;
    for (int32_t round = 0; round < 5; ++round) {
        for (int32_t i = 0; i < 7; ++i) {
            pushKey(queue, round * 100 + i);
        }
        const std::vector<int32_t> expected = {round * 100,     round * 100 + 1, round * 100 + 2, round * 100 + 3,
                                               round * 100 + 4, round * 100 + 5, round * 100 + 6};
        EXPECT_EQ(drainKeys(queue), expected);
    }
}

TEST(KeyQueue, FifteenKeysAllWait)
{
    KeyQueue queue;
    std::vector<int32_t> pushed;
    for (int32_t i = 0; i < 15; ++i) {
        pushKey(queue, 300 + 7 * i);
        pushed.push_back(300 + 7 * i);
    }
    EXPECT_EQ(drainKeys(queue), pushed);
}

TEST(KeyQueue, SeventeenKeysLeaveTheLastFifteenInOrder)
{
    KeyQueue queue;
    pushKey(queue, 1);
    int32_t code = 0;
    ASSERT_TRUE(popKey(queue, code)); // start off position 0
    for (int32_t i = 0; i < 17; ++i) {
        pushKey(queue, 1000 + i);
    }
    std::vector<int32_t> expected;
    for (int32_t i = 2; i < 17; ++i) {
        expected.push_back(1000 + i);
    }
    EXPECT_EQ(drainKeys(queue), expected);
    pushKey(queue, 77);
    EXPECT_EQ(drainKeys(queue), std::vector<int32_t>{77});
}

TEST(KeyText, CodesUpTo255AreOneCharacter)
{
    EXPECT_EQ(keyText(27), std::string(1, '\x1b'));
    EXPECT_EQ(keyText(3), std::string(1, '\x03'));
    EXPECT_EQ(keyText(130), std::string(1, '\x82'));
    EXPECT_EQ(keyText(255), std::string(1, '\xff'));
}

TEST(KeyText, LargerCodesAreLowByteThenHighByte)
{
    EXPECT_EQ(keyText(256), std::string("\x00\x01", 2));
    EXPECT_EQ(keyText(closeKey), std::string("\xffk"));
    EXPECT_EQ(keyText(extendedKeyCode(72)), std::string("\xff\x48"));
    EXPECT_EQ(keyText(extendedKeyCode(134)), std::string("\xff\x86"));
}

} // namespace
