#pragma once
// Looking for one UTF-16 character in a text, eight characters a step where SSE2 is there:
// separators are looked for in every line the control reads and every record it describes,
// and each step saved before a node is read lets the host's next lookup start sooner.
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ramvel {

// Calls found(position) for each `c` in the text, in order.
template <typename Found>
void ForEachOf(std::u16string_view text, char16_t c, Found&& found) {
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; at + 8 <= text.size(); at += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        // Two mask bits a character.
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted))); mask != 0;
             mask &= mask - 1, mask &= mask - 1)
            found(at + static_cast<std::size_t>(__builtin_ctz(mask)) / 2);
    }
#endif
    for (; at < text.size(); ++at)
        if (text[at] == c) found(at);
}

// The first `c` at `from` or after, or npos.
inline std::size_t FindChar(std::u16string_view text, char16_t c, std::size_t from = 0) {
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; at + 8 <= text.size(); at += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted))))
            return at + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    }
#endif
    for (; at < text.size(); ++at)
        if (text[at] == c) return at;
    return std::u16string_view::npos;
}

}  // namespace ramvel
