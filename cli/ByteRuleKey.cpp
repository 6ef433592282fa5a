#include "cli/ByteRuleKey.h"

#include "compare/LookalikeForms.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define TARNWICK_RULE_KEY_SSE2 1
#endif

using compare::LookalikeKind;

namespace {

// Bytes looked at together; the buffer has this much room beyond the longest key, as a block is
// stored whole.
constexpr std::size_t kBlock = 16;

constexpr compare::LookalikeKinds kServed = compare::LookalikeKinds(LookalikeKind::LeadingSpace)
                                                .With(LookalikeKind::TrailingSpace)
                                                .With(LookalikeKind::InnerSpace)
                                                .With(LookalikeKind::Case);

bool IsBlankOrTab(char byte) {
    return compare::IsBlankOrTab(static_cast<char16_t>(byte));
}

} // namespace

ByteRuleKey::ByteRuleKey(compare::LookalikeKinds kinds)
    : leading_(kinds.Has(LookalikeKind::LeadingSpace)),
      trailing_(kinds.Has(LookalikeKind::TrailingSpace)),
      inner_(kinds.Has(LookalikeKind::InnerSpace)), fold_(kinds.Has(LookalikeKind::Case)) {}

bool ByteRuleKey::Serves(compare::LookalikeKinds kinds) {
    return !kinds.Empty() && (kinds.Bits() & ~kServed.Bits()) == 0;
}

std::size_t ByteRuleKey::BufferBytes(std::size_t bytes) {
    return bytes + kBlock;
}

std::string_view ByteRuleKey::Of(std::string_view content, bool& changed, const char* readable) {
    const char* const in = content.data();
    const std::size_t size = content.size();
    std::size_t first = 0;
    while (first < size && IsBlankOrTab(in[first]))
        ++first;
    if (first == size) { // all blanks and tabs, or nothing: the leading run is the trailing run
        changed = size > 0 && (leading_ || trailing_);
        return changed ? std::string_view() : content;
    }
    std::size_t last = size;
    while (IsBlankOrTab(in[last - 1]))
        --last;
    changed = (leading_ && first > 0) || (trailing_ && last < size);
    if (!fold_ && !inner_ && !changed)
        return content;
    if (buffer_.size() < BufferBytes(size))
        buffer_.resize(BufferBytes(size));
    char* const start = buffer_.data();
    char* out = start;
    if (!leading_)
        out = std::copy(in, in + first, out);
    out = Middle(in, first, last, readable ? readable : in + last, out, changed);
    if (!trailing_)
        out = std::copy(in + last, in + size, out);
    return changed ? std::string_view(start, static_cast<std::size_t>(out - start)) : content;
}

// Bytes [at, to) of the middle [from, ...), one at a time: a blank or tab after another in the
// middle is dropped under inner-space, and one that begins a run becomes a blank.
char* ByteRuleKey::OneByOne(const char* in, std::size_t from, std::size_t at, std::size_t to,
                            char* out, bool& changed) const {
    for (std::size_t k = at; k < to; ++k) {
        char byte = in[k];
        if (inner_ && IsBlankOrTab(byte)) {
            if (k > from && IsBlankOrTab(in[k - 1])) {
                changed = true;
                continue;
            }
            changed = changed || byte != ' ';
            *out++ = ' ';
            continue;
        }
        if (fold_ && byte >= 'A' && byte <= 'Z') {
            byte = static_cast<char>(byte + 0x20);
            changed = true;
        }
        *out++ = byte;
    }
    return out;
}

// The middle in[from, to), which begins and ends with something other than a blank or a tab:
// sixteen bytes at a time, folded as they are copied, and looked at one by one only where a run
// of blanks is to be joined.
char* ByteRuleKey::Middle(const char* in, std::size_t from, std::size_t to, const char* readable,
                          char* out, bool& changed) const {
    if (!fold_ && !inner_) {
        std::memcpy(out, in + from, to - from);
        return out + (to - from);
    }
#ifdef TARNWICK_RULE_KEY_SSE2
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i afterZ = _mm_set1_epi8('Z' + 1);
    const __m128i small = _mm_set1_epi8(0x20);
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i foldMask = fold_ ? _mm_set1_epi8(-1) : _mm_setzero_si128();
    // Block by block; the last, shorter one read where it stands when the bytes after it may be
    // read, else from a copy.
    alignas(16) char last[kBlock] = {};
    for (std::size_t i = from; i < to; i += kBlock) {
        const std::size_t count = std::min(kBlock, to - i);
        const char* block = in + i;
        if (block + kBlock > readable) {
            std::memcpy(last, block, count);
            block = last;
        }
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
        const __m128i capitals = _mm_and_si128(
            foldMask, _mm_and_si128(_mm_cmpgt_epi8(bytes, beforeA), _mm_cmplt_epi8(bytes, afterZ)));
        const auto whole = (1u << count) - 1;
        if (inner_) {
            const auto blanks =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank)));
            const auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
            const unsigned before = i > from && IsBlankOrTab(in[i - 1]) ? 1u : 0u;
            if (((tabs | (blanks & (blanks << 1 | before))) & whole) != 0) {
                out = OneByOne(in, from, i, i + count, out, changed);
                continue;
            }
        }
        changed = changed || (static_cast<unsigned>(_mm_movemask_epi8(capitals)) & whole) != 0;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_add_epi8(bytes, _mm_and_si128(capitals, small)));
        out += count;
    }
    return out;
#else
    return OneByOne(in, from, from, to, out, changed);
#endif
}
