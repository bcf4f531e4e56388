#include "dump/dump_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(FormatInteger, BlankOrMinusThenDigits)
{
    EXPECT_EQ(formatInteger(0), " 0");
    EXPECT_EQ(formatInteger(7), " 7");
    EXPECT_EQ(formatInteger(2047), " 2047");
    EXPECT_EQ(formatInteger(-5), "-5");
    EXPECT_EQ(formatInteger(1000000), " 1000000");
    EXPECT_EQ(formatInteger(std::numeric_limits<int64_t>::max()), " 9223372036854775807");
    EXPECT_EQ(formatInteger(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(FormatSingle, FixedFormDropsTrailingZerosAndBarePoint)
{
    EXPECT_EQ(formatSingle(0.0f), " 0");
    EXPECT_EQ(formatSingle(-0.5f), "-0.5");
    EXPECT_EQ(formatSingle(0.5f), " 0.5");
    EXPECT_EQ(formatSingle(-123.4567f), "-123.4567");
    EXPECT_EQ(formatSingle(32767.0f / 32768.0f), " 0.9999695");
    EXPECT_EQ(formatSingle(-1.0f), "-1");
    EXPECT_EQ(formatSingle(-190.0f), "-190");
    EXPECT_EQ(formatSingle(1.0f / 3.0f), " 0.3333333");
    EXPECT_EQ(formatSingle(-2.25f), "-2.25");
    EXPECT_EQ(formatSingle(9999999.0f), " 9999999");
    EXPECT_EQ(formatSingle(1234567.0f), " 1234567");
}

TEST(FormatSingle, SmallValuesSwitchToExponentFormBelowExponentMinus4)
{
    EXPECT_EQ(formatSingle(1.0f / 32768.0f), " 3.051758e-005");
    EXPECT_EQ(formatSingle(2.0f / 32768.0f), " 6.103516e-005");
    EXPECT_EQ(formatSingle(3.0f / 32768.0f), " 9.155273e-005");
    EXPECT_EQ(formatSingle(-3.0f / 32768.0f), "-9.155273e-005");
    EXPECT_EQ(formatSingle(4.0f / 32768.0f), " 0.0001220703");
    EXPECT_EQ(formatSingle(-4.0f / 32768.0f), "-0.0001220703");
    EXPECT_EQ(formatSingle(1e-30f), " 1e-030");
    EXPECT_EQ(formatSingle(0x1p-149f), " 1.401298e-045");
}

TEST(FormatSingle, LargeValuesTakeExponentFormWithPlusSign)
{
    EXPECT_EQ(formatSingle(10000000.0f), " 1e+007");
    EXPECT_EQ(formatSingle(12345678.0f), " 1.234568e+007");
    EXPECT_EQ(formatSingle(-12345678.0f), "-1.234568e+007");
    EXPECT_EQ(formatSingle(99999990.0f), " 9.999999e+007");
    EXPECT_EQ(formatSingle(2.5e10f), " 2.5e+010");
    EXPECT_EQ(formatSingle(3.4028235e38f), " 3.402823e+038");
}

// The form depends on the exponent after rounding, not before it.
TEST(FormatSingle, RoundingCarryDecidesTheForm)
{
    EXPECT_EQ(formatSingle(0.99999994f), " 0.9999999");
    EXPECT_EQ(formatSingle(0.000099999997f), " 0.0001");
    EXPECT_EQ(formatSingle(-9.9999999e-6f), "-1e-005");
}

TEST(FormatSingle, NegativeZeroIsZero)
{
    EXPECT_EQ(formatSingle(-0.0f), " 0");
}

// An independent reference: the C library's seven-digit general conversion,
// its exponent widened to three digits and a blank put in front.
std::string referenceText(float value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    std::string result = text;
    const size_t e = result.find('e');
    if (e != std::string::npos) {
        const std::string digits = result.substr(e + 2);
        result = result.substr(0, e + 2) + std::string(3 - digits.size(), '0') + digits;
    }
    return result.front() == '-' ? result : " " + result;
}

TEST(FormatSingle, AgreesWithReferenceOverSpreadOfBitPatterns)
{
    uint32_t state = 12345;
    int64_t compared = 0;
    for (int64_t k = 0; k < 300000; ++k) {
        state = state * 1664525u + 1013904223u;
        float value;
        std::memcpy(&value, &state, sizeof value);
        if (!std::isfinite(value) || value == 0.0f) {
            continue;
        }
        ASSERT_EQ(formatSingle(value), referenceText(value)) << "bits " << state;
        ++compared;
    }
    EXPECT_GT(compared, 290000);
}

TEST(FormatSingle, AgreesWithReferenceForEverySampleAndAGridOfLevels)
{
    for (int32_t s = -32768; s <= 32767; ++s) {
        const float sample = static_cast<float>(s / 32768.0);
        if (sample != 0.0f) {
            ASSERT_EQ(formatSingle(sample), referenceText(sample)) << "sample " << s;
        }
    }
    for (int32_t k = -190000; k <= 100000; k += 7) {
        const float level = static_cast<float>(k) / 1000.0f + 0.0001234f;
        ASSERT_EQ(formatSingle(level), referenceText(level)) << "level " << level;
    }
}

// A frame's numbers for --print: the dump's texts without their sign blank,
// one blank between, a line feed at the end; the line's storage is reused.
TEST(FormatLine, TheDumpsTextsBetweenSingleBlanks)
{
    const float values[] = {0.5f, -0.25f, 0.0f, 1.0f / 32768.0f, -190.0f};
    std::string line = "left over from the frame before";
    formatLine(values, 5, line);
    EXPECT_EQ(line, "0.5 -0.25 0 3.051758e-005 -190\n");
    formatLine(values, 1, line);
    EXPECT_EQ(line, "0.5\n");
}

} // namespace
