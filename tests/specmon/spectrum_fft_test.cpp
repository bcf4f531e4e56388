#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "specmon/spectrum_fft.h"
#include "specmon/spectrum_tables.h"
#include "tests/specmon/spectrum_test_support.h"

namespace {

// Unit roundoff of single precision.
constexpr double unitRoundoff = 0x1p-24;

// Error allowance per stage, in units of the unit roundoff. Each butterfly
// output of a stage carries the rounding of its twiddle (a table entry), of
// two products, of their sum and of the butterfly's own sum or difference; in
// complex magnitude that is below about 6.7 units of the larger partner. 8
// leaves a margin.
constexpr double stageRoundoffs = 8.0;

// The transform done slowly and plainly in double precision, straight from its
// definition: X[k] = scale * sum of x[t] e^(sign 2 pi i k t / N).
std::vector<std::complex<double>> referenceTransform(const float (&re)[fftSize], const float (&im)[fftSize],
                                                     int64_t sign)
{
    std::vector<std::complex<double>> turn(fftSize);
    for (int64_t r = 0; r < fftSize; ++r) {
        const double angle = 2.0 * std::numbers::pi * static_cast<double>(r) / static_cast<double>(fftSize);
        turn[r] = {std::cos(angle), static_cast<double>(sign) * std::sin(angle)};
    }
    const double scale = sign == 1 ? 1.0 / static_cast<double>(fftSize) : 1.0;
    std::vector<std::complex<double>> result(fftSize);
    for (int64_t k = 0; k < fftSize; ++k) {
        std::complex<double> sum = 0.0;
        for (int64_t t = 0; t < fftSize; ++t) {
            sum += std::complex<double>(re[t], im[t]) * turn[(k * t) % fftSize];
        }
        result[k] = sum * scale;
    }
    return result;
}

double sumOfMagnitudes(const float (&re)[fftSize], const float (&im)[fftSize])
{
    double sum = 0.0;
    for (int64_t t = 0; t < fftSize; ++t) {
        sum += std::abs(std::complex<double>(re[t], im[t]));
    }
    return sum;
}

class SpectrumFft : public ::testing::Test {
protected:
    void SetUp() override { fft(re, im, -1, 1); }
    float re[fftSize] = {};
    float im[fftSize] = {};
};

TEST_F(SpectrumFft, ImpulseAtZeroGivesOneInEveryBin)
{
    re[0] = 1.0f;
    fft(re, im, -1, 0);
    for (int64_t k = 0; k < fftSize; ++k) {
        ASSERT_EQ(re[k], 1.0f) << k;
        ASSERT_EQ(im[k], 0.0f) << k;
    }
}

TEST_F(SpectrumFft, InverseDividesBy2048)
{
    re[0] = 2048.0f;
    im[0] = -4096.0f;
    fft(re, im, 1, 0);
    for (int64_t k = 0; k < fftSize; ++k) {
        ASSERT_EQ(re[k], 1.0f) << k;
        ASSERT_EQ(im[k], -2.0f) << k;
    }
}

TEST_F(SpectrumFft, AgreesWithThePlainTransformInBothDirections)
{
    // Every stage adds at most stageRoundoffs * u * sum|x| to an output: the
    // intermediates of a stage that feed one output come from disjoint sets of
    // inputs, so their magnitudes add up to at most sum|x|, and unit-modulus
    // twiddles pass earlier errors on without growth. Eleven stages give the
    // bound below; the inverse's division by 2048 is exact.
    for (const int64_t sign : {-1, 1}) {
        fillNoise(re, 11);
        fillNoise(im, 12);
        const auto expected = referenceTransform(re, im, sign);
        const double scale = sign == 1 ? 1.0 / static_cast<double>(fftSize) : 1.0;
        const double bound = 11.0 * stageRoundoffs * unitRoundoff * sumOfMagnitudes(re, im) * scale;
        fft(re, im, sign, 0);
        for (int64_t k = 0; k < fftSize; ++k) {
            const double error = std::abs(std::complex<double>(re[k], im[k]) - expected[k]);
            ASSERT_LE(error, bound) << "sign " << sign << " bin " << k;
        }
    }
}

TEST_F(SpectrumFft, InverseOfForwardReturnsTheInput)
{
    // In the 2-norm each stage is sqrt(2) times a unitary map, so its rounding
    // adds at most stageRoundoffs * u of the running norm: eleven stages each
    // way, and the exact division by 2048, give 22 * stageRoundoffs * u.
    float inputRe[fftSize];
    float inputIm[fftSize];
    fillNoise(inputRe, 21);
    fillNoise(inputIm, 22);
    std::copy(std::begin(inputRe), std::end(inputRe), re);
    std::copy(std::begin(inputIm), std::end(inputIm), im);
    fft(re, im, -1, 0);
    fft(re, im, 1, 0);
    double errorSquares = 0.0;
    double inputSquares = 0.0;
    for (int64_t t = 0; t < fftSize; ++t) {
        errorSquares += std::norm(
            std::complex<double>(re[t] - static_cast<double>(inputRe[t]), im[t] - static_cast<double>(inputIm[t])));
        inputSquares += std::norm(std::complex<double>(inputRe[t], inputIm[t]));
    }
    EXPECT_LE(std::sqrt(errorSquares), 22.0 * stageRoundoffs * unitRoundoff * std::sqrt(inputSquares));
}

TEST_F(SpectrumFft, ButterfliesRoundEveryProductSeparately)
{
    // A single value a + ib at index 1 reaches the last stage untouched, where
    // bin j becomes (wr a - wi b, wr b + wi a) with wr = cos, wi = -sin of the
    // table entry j. A fused multiply-add would keep one product unrounded and
    // change many of these bits.
    const float a = 0.6180339887f;
    const float b = -0.3141592653f;
    re[1] = a;
    im[1] = b;
    fft(re, im, -1, 0);
    int64_t fusedDiffers = 0;
    for (int64_t j = 0; j < fftSize / 2; ++j) {
        const float wr = cosTable[j];
        const float wi = -1.0f * sinTable[j];
        volatile float reA = wr * a;
        volatile float reB = wi * b;
        volatile float imA = wr * b;
        volatile float imB = wi * a;
        const float tr = reA - reB;
        const float ti = imA + imB;
        if (std::fma(wr, a, -(wi * b)) != tr || std::fma(-wi, b, wr * a) != tr || std::fma(wr, b, wi * a) != ti ||
            std::fma(wi, a, wr * b) != ti) {
            ++fusedDiffers;
        }
        ASSERT_EQ(floatBits(re[j]), floatBits(tr)) << j;
        ASSERT_EQ(floatBits(im[j]), floatBits(ti)) << j;
        ASSERT_EQ(floatBits(re[j + fftSize / 2]), floatBits(-tr)) << j;
        ASSERT_EQ(floatBits(im[j + fftSize / 2]), floatBits(-ti)) << j;
    }
    EXPECT_GT(fusedDiffers, 100) << "the input no longer tells fused from separate rounding";
}

struct GoldenBin {
    int64_t bin;
    uint32_t re;
    uint32_t im;
};

// Bits of this exact sequence of single-precision operations; any change in
// the order of the arithmetic, or a fused operation, changes some of them.
TEST_F(SpectrumFft, ForwardAndInverseKeepTheirBits)
{
    const GoldenBin forward[] = {
        {0, 0xc15a0d80u, 0xc25221a0u},    {1, 0xc23a3f5bu, 0xc0242cccu},    {7, 0xc1d4c244u, 0x4194dbf2u},
        {100, 0x41ad4083u, 0x41bb9083u},  {1023, 0xc20806e7u, 0xc1e09f86u}, {1024, 0x423241c0u, 0x421e2b70u},
        {1500, 0xc1ac8d06u, 0xc1dd0876u}, {2047, 0x40817d36u, 0xc11a4103u},
    };
    const GoldenBin inverse[] = {
        {0, 0xbbda0d80u, 0xbcd221a0u},    {1, 0x3b017d36u, 0xbb9a4103u},    {7, 0x3c2a67c2u, 0xbb46e7deu},
        {100, 0x3d03774eu, 0x39a366b0u},  {1023, 0xbcbb5d19u, 0xbc1552c4u}, {1024, 0x3cb241c0u, 0x3c9e2b70u},
        {1500, 0xbb301ba2u, 0x3c45f91cu}, {2047, 0xbcba3f5bu, 0xbaa42cccu},
    };
    for (const int64_t sign : {-1, 1}) {
        fillNoise(re, 1);
        fillNoise(im, 2);
        fft(re, im, sign, 0);
        for (const GoldenBin& golden : sign == -1 ? forward : inverse) {
            EXPECT_EQ(floatBits(re[golden.bin]), golden.re) << "sign " << sign << " bin " << golden.bin;
            EXPECT_EQ(floatBits(im[golden.bin]), golden.im) << "sign " << sign << " bin " << golden.bin;
        }
    }
}

} // namespace
