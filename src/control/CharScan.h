#pragma once
// Looking for one UTF-16 character in a text, eight characters a step where SSE2 is there:
// separators are looked for in every line the control reads and every record it describes.
// A text of eight characters or more ends with the step that ends with it, overlapping the one
// before, instead of a character at a time.
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ramvel {

#if !defined(__SSE2__)
inline constexpr bool kEightAtATime = false;  // a character at a time, as the tests also check
#else
inline constexpr bool kEightAtATime = true;

namespace scan {

// Where `wanted` is among the eight characters from `start`, two mask bits a character, the
// first `seen` characters left out.
inline unsigned Matches(std::u16string_view text, std::size_t start, __m128i wanted, unsigned seen) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + start));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted))) & ~0u << (2 * seen);
}

// Steps of eight from `at`, then the last eight characters: calls step(start, seen) until it
// returns false.
template <typename Step>
void Steps(std::size_t size, std::size_t at, Step&& step) {
    for (; at + 8 <= size; at += 8)
        if (!step(at, 0u)) return;
    if (at < size) step(size - 8, static_cast<unsigned>(8 - (size - at)));
}

}  // namespace scan
#endif

// Calls found(position) for each `c` in the text, in order.
template <bool EightAtATime = kEightAtATime, typename Found>
void ForEachOf(std::u16string_view text, char16_t c, Found&& found) {
#if defined(__SSE2__)
    if (EightAtATime && text.size() >= 8) {
        const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
        scan::Steps(text.size(), 0, [&](std::size_t start, unsigned seen) {
            for (unsigned mask = scan::Matches(text, start, wanted, seen); mask != 0;) {
                const auto bit = static_cast<unsigned>(__builtin_ctz(mask));
                found(start + bit / 2);
                mask &= ~(3u << bit);  // both bits of the character found
            }
            return true;
        });
        return;
    }
#endif
    for (std::size_t at = 0; at < text.size(); ++at)
        if (text[at] == c) found(at);
}

// The first `c` at `from` or after, or npos.
template <bool EightAtATime = kEightAtATime>
std::size_t FindChar(std::u16string_view text, char16_t c, std::size_t from = 0) {
#if defined(__SSE2__)
    if (EightAtATime && text.size() >= 8) {
        std::size_t hit = std::u16string_view::npos;
        const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
        scan::Steps(text.size(), from, [&](std::size_t start, unsigned seen) {
            const unsigned mask = scan::Matches(text, start, wanted, seen);
            if (mask != 0) hit = start + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
            return mask == 0;
        });
        return hit;
    }
#endif
    for (std::size_t at = from; at < text.size(); ++at)
        if (text[at] == c) return at;
    return std::u16string_view::npos;
}

}  // namespace ramvel
