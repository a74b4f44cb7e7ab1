#include "PixelRows.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ui {
namespace {

// The loops work in groups of this many pixels with no exit inside a group,
// so that the compiler turns each group into a few vector steps.
constexpr int group = 8;

} // namespace

void fillPixels(QRgb *pixels, int count, QRgb value)
{
    if (count < group) {
        for (int i = 0; i < count; ++i)
            pixels[i] = value;
        return;
    }
    // The last group ends at the last pixel and may overlap the one before.
    for (int i = 0;; i += group) {
        QRgb *const at = pixels + (i + group <= count ? i : count - group);
        for (int k = 0; k < group; ++k)
            at[k] = value;
        if (i + group >= count)
            break;
    }
}

bool fillPixelsChanged(QRgb *pixels, int count, QRgb value)
{
    // A run drawn over something else mostly differs at its first pixel:
    // then it is only written.
    if (count > 0 && pixels[0] != value) {
        fillPixels(pixels, count, value);
        return true;
    }
    QRgb differing = 0;
    if (count < group) {
        for (int i = 0; i < count; ++i) {
            differing |= pixels[i] ^ value;
            pixels[i] = value;
        }
        return differing != 0;
    }
    // An overlapping last group reads pixels that already hold `value`.
    for (int i = 0;; i += group) {
        QRgb *const at = pixels + (i + group <= count ? i : count - group);
        for (int k = 0; k < group; ++k) {
            differing |= at[k] ^ value;
            at[k] = value;
        }
        if (i + group >= count)
            break;
    }
    return differing != 0;
}

int fillUntil(QRgb *pixels, int count, QRgb stop, QRgb value)
{
    int i = 0;
#if defined(__SSE2__)
    // Where the processor has them for certain, sixteen pixels at a time
    // in four vector registers, with one test of all four for `stop`, and
    // the end found from the test's bits: half the instructions of the
    // plain groups below, which take the last pixels of a row.
    constexpr int lanes = int(sizeof(__m128i) / sizeof(QRgb));
    constexpr int block = 4 * lanes;
    const __m128i stops = _mm_set1_epi32(int(stop));
    const __m128i values = _mm_set1_epi32(int(value));
    for (; i + block <= count; i += block) {
        __m128i *const at = reinterpret_cast<__m128i *>(pixels + i);
        const __m128i a = _mm_cmpeq_epi32(_mm_loadu_si128(at), stops);
        const __m128i b = _mm_cmpeq_epi32(_mm_loadu_si128(at + 1), stops);
        const __m128i c = _mm_cmpeq_epi32(_mm_loadu_si128(at + 2), stops);
        const __m128i d = _mm_cmpeq_epi32(_mm_loadu_si128(at + 3), stops);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) != 0) {
            // One bit per byte of the block: the first set one is in `stop`.
            constexpr int bitsPerVector = int(sizeof(__m128i));
            auto bitsOf = [](__m128i lane) { return std::uint64_t(unsigned(_mm_movemask_epi8(lane))); };
            const std::uint64_t bytes = bitsOf(a) | bitsOf(b) << bitsPerVector | bitsOf(c) << 2 * bitsPerVector
                                        | bitsOf(d) << 3 * bitsPerVector;
            const int length = std::countr_zero(bytes) / int(sizeof(QRgb));
            int k = 0;
            for (; k + lanes <= length; k += lanes)
                _mm_storeu_si128(at + k / lanes, values);
            for (; k < length; ++k)
                pixels[i + k] = value;
            return i + length;
        }
        for (int k = 0; k < block / lanes; ++k)
            _mm_storeu_si128(at + k, values);
    }
#endif
    // A group is looked at, and written when it holds no `stop`; the group
    // that holds it goes one pixel at a time.
    for (; i + group <= count; i += group) {
        QRgb ends = 0;
        for (int k = 0; k < group; ++k)
            ends |= pixels[i + k] == stop ? ~0u : 0u;
        if (ends)
            break;
        for (int k = 0; k < group; ++k)
            pixels[i + k] = value;
    }
    for (; i < count && pixels[i] != stop; ++i)
        pixels[i] = value;
    return i;
}

} // namespace ui
