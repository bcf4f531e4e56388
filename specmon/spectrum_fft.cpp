#include "specmon/spectrum_fft.h"

#include "specmon/spectrum_tables.h"

void fft(float (&re)[fftSize], float (&im)[fftSize], int64_t sign, int64_t init)
{
    if (init != 0) {
        buildTwiddleTables(cosTable, sinTable, fftSize);
        buildSwapList(swapFrom, swapTo, swapCount, fftSize);
        return;
    }
    applySwapList(re, swapFrom, swapTo, swapCount);
    applySwapList(im, swapFrom, swapTo, swapCount);

    const int64_t stages = countHalvings(fftSize);
    const float signValue = static_cast<float>(sign);
    int64_t runs = fftSize / 2; // butterflies per twiddle, and the twiddle index step
    int64_t half = 1;           // distance between the two partners of a butterfly
    int64_t span = 2;           // distance between butterflies that share a twiddle
    for (int64_t stage = 1; stage <= stages; ++stage) {
        int64_t t = 0;
        for (int64_t j = 0; j < half; ++j) {
            const float wr = cosTable[t];
            const float wi = signValue * sinTable[t];
            int64_t k = j;
            for (int64_t run = 0; run < runs; ++run) {
                const int64_t m = k + half;
                const float tr = wr * re[m] - wi * im[m];
                const float ti = wr * im[m] + wi * re[m];
                re[m] = re[k] - tr;
                im[m] = im[k] - ti;
                re[k] = re[k] + tr;
                im[k] = im[k] + ti;
                k += span;
            }
            t += runs;
        }
        runs /= 2;
        half *= 2;
        span *= 2;
    }

    if (sign == fftInverse) {
        for (int64_t i = 0; i < fftSize; ++i) {
            re[i] = re[i] / static_cast<float>(fftSize);
            im[i] = im[i] / static_cast<float>(fftSize);
        }
    }
}
