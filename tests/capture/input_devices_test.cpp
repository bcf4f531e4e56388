#include "capture/input_devices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// How --input reads a name: index, then exact name, then a unique part of a
// name in any case; otherwise no choice, with the candidates.
TEST(InputChoice, IndexExactNameOrUniquePartElseTheCandidates)
{
    const std::vector<InputDevice> inputs = {
        {0, "ALSA", "Low tone", false}, {3, "ALSA", "low", false}, {7, "ALSA", "default", true}};
    const std::vector<std::pair<std::string, int>> chosen = {
        {"3", 1}, {"low", 1}, {"LOW T", 0}, {"fault", 2}, {"Low tone", 0}};
    for (const auto& [wanted, position] : chosen) {
        EXPECT_EQ(chooseInput(inputs, wanted).chosen, position) << wanted;
    }
    const InputChoice several = chooseInput(inputs, "LOW");
    EXPECT_EQ(several.chosen, 1) << "a whole name wins over names that hold it";
    const InputChoice ambiguous = chooseInput(inputs, "o");
    EXPECT_EQ(ambiguous.chosen, -1);
    EXPECT_TRUE(ambiguous.several);
    EXPECT_EQ(ambiguous.candidates, (std::vector<int>{0, 1}));
    const InputChoice none = chooseInput(inputs, "9");
    EXPECT_EQ(none.chosen, -1);
    EXPECT_FALSE(none.several);
    EXPECT_EQ(none.candidates, (std::vector<int>{0, 1, 2}));
}

} // namespace
