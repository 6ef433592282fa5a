#include "cli/RuleChangeMap.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define TARNWICK_RULE_MAP_SSE2 1
#endif

using compare::LookalikeKind;

namespace {

// Words marked at once: the bytes they cover stay in the cache for the lines keyed after.
constexpr std::size_t kPartWords = 256;

using Kinds = RuleChangeMap::Kinds;

Kinds ReadPortable(const char* bytes) {
    Kinds read;
    for (unsigned i = 0; i < 64; ++i) {
        const char byte = bytes[i];
        const std::uint64_t bit = std::uint64_t{1} << i;
        read.capitals |= byte >= 'A' && byte <= 'Z' ? bit : 0;
        read.blanks |= byte == ' ' ? bit : 0;
        read.tabs |= byte == '\t' ? bit : 0;
        read.breaks |= byte == '\r' || byte == '\n' ? bit : 0;
    }
    return read;
}

// Only what the rules ask for is read: capitals under case, blanks and tabs under the rules about
// them, breaks where blanks at the edges count.
template <bool kFold, bool kSpaces, bool kEdges> inline Kinds Read(const char* bytes) {
#ifdef TARNWICK_RULE_MAP_SSE2
    // A capital is a byte from 'A' to 'Z': moved to the lowest signed bytes, one comparison.
    const __m128i toLowest = _mm_set1_epi8(static_cast<char>(-128 - 'A'));
    const __m128i afterZ = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    Kinds read;
    const auto bits = [](__m128i hits, unsigned part) {
        return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << (16 * part);
    };
    for (unsigned part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
        if constexpr (kFold)
            read.capitals |= bits(_mm_cmplt_epi8(_mm_add_epi8(v, toLowest), afterZ), part);
        if constexpr (kSpaces) {
            read.blanks |= bits(_mm_cmpeq_epi8(v, blank), part);
            read.tabs |= bits(_mm_cmpeq_epi8(v, tab), part);
        }
        if constexpr (kEdges)
            read.breaks |= bits(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), part);
    }
    return read;
#else
    return ReadPortable(bytes);
#endif
}

} // namespace

RuleChangeMap::RuleChangeMap(std::string_view bytes, compare::LookalikeKinds kinds)
    : bytes_(bytes), fold_(kinds.Has(LookalikeKind::Case)),
      inner_(kinds.Has(LookalikeKind::InnerSpace)),
      edges_(kinds.Has(LookalikeKind::LeadingSpace) || kinds.Has(LookalikeKind::TrailingSpace)),
      marks_(kKeptWords, 0), wordCount_(bytes.size() / 64 + 1) {}

void RuleChangeMap::MarkPart(std::size_t to) {
    const std::size_t words = wordCount_;
    const std::size_t until = to >= bytes_.size()
                                  ? words
                                  : std::min(words, std::max((to + 63) / 64, words_ + kPartWords));
    const bool spaces = inner_ || edges_;
    if (fold_ && spaces)
        edges_ ? MarkWords<true, true, true>(until) : MarkWords<true, true, false>(until);
    else if (spaces)
        edges_ ? MarkWords<false, true, true>(until) : MarkWords<false, true, false>(until);
    else
        MarkWords<true, false, false>(until);
    marked_ = words_ == words ? bytes_.size() : words_ * 64;
}

// Each word is marked once the next is read, for a blank before a break that begins it; the
// text's end stands for a break, and the bytes after it for none.
template <bool kFold, bool kSpaces, bool kEdges> void RuleChangeMap::MarkWords(std::size_t until) {
    const std::size_t words = wordCount_;
    const std::size_t whole = bytes_.size() / 64; // words of 64 bytes of the text
    const auto readWord = [&](std::size_t word) {
        const std::size_t at = word * 64;
        if (word < whole)
            return Read<kFold, kSpaces, kEdges>(bytes_.data() + at);
        char last[64] = {};
        std::memcpy(last, bytes_.data() + at, bytes_.size() - at);
        Kinds read = ReadPortable(last);
        read.breaks |= std::uint64_t{1} << (bytes_.size() - at);
        return read;
    };
    // The state is kept in locals: stored through `this`, it would be written back at every word.
    Kinds next = words_ == 0 && until > 0 ? readWord(0) : next_;
    std::uint64_t lastSpace = lastSpace_, lastBreak = lastBreak_;
    std::uint64_t* const marks = marks_.data();
    const bool inner = inner_;
    std::size_t word = words_;
    for (; word < until; ++word) {
        const Kinds now = next;
        if (word + 1 < words)
            next = readWord(word + 1);
        std::uint64_t marked = 0;
        if constexpr (kFold)
            marked = now.capitals;
        const std::uint64_t spaces = now.blanks | now.tabs;
        if (inner)
            marked |= now.tabs | (spaces & (spaces << 1 | lastSpace));
        if constexpr (kEdges) {
            const std::uint64_t nextBreak = word + 1 < words ? next.breaks & 1 : 0;
            marked |= spaces & (now.breaks << 1 | lastBreak | now.breaks >> 1 | nextBreak << 63);
        }
        marks[word % kKeptWords] = marked;
        lastSpace = spaces >> 63;
        lastBreak = now.breaks >> 63;
    }
    words_ = word;
    next_ = next;
    lastSpace_ = lastSpace;
    lastBreak_ = lastBreak;
}
