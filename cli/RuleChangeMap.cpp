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

struct Kinds {
    std::uint64_t capitals = 0;
    std::uint64_t blanks = 0;
    std::uint64_t tabs = 0;
    std::uint64_t breaks = 0; // CR or LF
};
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

#ifdef TARNWICK_RULE_MAP_SSE2
// Only what the rules ask for is read: capitals under case, blanks and tabs under the rules about
// them, breaks where blanks at the edges count.
inline Kinds Read(const char* bytes, bool fold, bool spaces, bool edges) {
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
        if (fold)
            read.capitals |= bits(_mm_cmplt_epi8(_mm_add_epi8(v, toLowest), afterZ), part);
        if (spaces) {
            read.blanks |= bits(_mm_cmpeq_epi8(v, blank), part);
            read.tabs |= bits(_mm_cmpeq_epi8(v, tab), part);
        }
        if (edges)
            read.breaks |= bits(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), part);
    }
    return read;
}
#else
inline Kinds Read(const char* bytes, bool, bool, bool) {
    return ReadPortable(bytes);
}
#endif

} // namespace

RuleChangeMap::RuleChangeMap(std::string_view bytes, compare::LookalikeKinds kinds)
    : bytes_(bytes), fold_(kinds.Has(LookalikeKind::Case)),
      inner_(kinds.Has(LookalikeKind::InnerSpace)),
      edges_(kinds.Has(LookalikeKind::LeadingSpace) || kinds.Has(LookalikeKind::TrailingSpace)),
      marks_(MemoryBytes(bytes.size()) / 8, 0) {
    next_ = ReadWord(0);
}

RuleChangeMap::Kinds RuleChangeMap::ReadWord(std::size_t word) const {
    const std::size_t at = word * 64;
    const auto as = [](const ::Kinds& read) {
        return Kinds{read.capitals, read.blanks, read.tabs, read.breaks};
    };
    if (at + 64 <= bytes_.size())
        return as(Read(bytes_.data() + at, fold_, inner_ || edges_, edges_));
    char last[64] = {};
    if (at < bytes_.size())
        std::memcpy(last, bytes_.data() + at, bytes_.size() - at);
    Kinds read = as(ReadPortable(last));
    read.breaks |= std::uint64_t{1} << (bytes_.size() - at); // the end, within this word
    return read;
}

// Each word is marked once the next is read, for a blank before a break that begins it.
void RuleChangeMap::MarkPart(std::size_t to) {
    const std::size_t words = marks_.size();
    const std::size_t until = to >= bytes_.size()
                                  ? words
                                  : std::min(words, std::max((to + 63) / 64, words_ + kPartWords));
    for (; words_ < until; ++words_) {
        const Kinds now = next_;
        if (words_ + 1 < words)
            next_ = ReadWord(words_ + 1);
        const std::uint64_t spaces = now.blanks | now.tabs;
        std::uint64_t marks = fold_ ? now.capitals : 0;
        if (inner_)
            marks |= now.tabs | (spaces & (spaces << 1 | lastSpace_));
        if (edges_) {
            const std::uint64_t nextBreak = words_ + 1 < words ? next_.breaks & 1 : 0;
            marks |= spaces & (now.breaks << 1 | lastBreak_ | now.breaks >> 1 | nextBreak << 63);
        }
        marks_[words_] = marks;
        lastSpace_ = spaces >> 63;
        lastBreak_ = now.breaks >> 63;
    }
    marked_ = words_ == words ? bytes_.size() : words_ * 64;
}
