#include "compare/LooseKey.h"

#include "compare/FindUnit.h"
#include "compare/UnitScan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace compare {

namespace {

#include "LooseKeyTable.inc"

constexpr std::uint32_t kStringFlag = 0x80000000u;

constexpr std::uint32_t EntryOf(char32_t c) {
    return kLooseEntries[kLooseBlockOf[c >> 8]][c & 0xFF];
}

// The atoms of the ASCII characters, ready to be copied four units at a time: lines are mostly
// ASCII, and this keeps the common case free of branches. A character whose atoms do not fit is
// marked kLongImage; none is, as the build checks.
constexpr std::size_t kImageUnits = 4;
constexpr std::uint8_t kLongImage = 0xFF;

struct AsciiImages {
    std::array<std::array<char16_t, kImageUnits>, 128> units{};
    std::array<std::uint8_t, 128> lengths{};
};

constexpr AsciiImages MakeAsciiImages() {
    AsciiImages images;
    for (char32_t c = 0; c < 128; ++c) {
        const std::uint32_t entry = EntryOf(c);
        std::size_t length = 0;
        const auto add = [&](char32_t atom) {
            if (atom >= 0x10000 || length == kImageUnits) {
                length = kLongImage;
                return;
            }
            images.units[c][length++] = static_cast<char16_t>(atom);
        };
        if (entry == 0) {
            add(c);
        } else if ((entry & kStringFlag) == 0) {
            add(entry);
        } else {
            const std::uint32_t count = entry >> 24 & 0x7F;
            for (std::uint32_t i = 0; i < count && length != kLongImage; ++i)
                add(kLooseAtoms[(entry & 0xFFFFFF) + i]);
        }
        images.lengths[c] = static_cast<std::uint8_t>(length);
    }
    return images;
}

constexpr AsciiImages kAscii = MakeAsciiImages();
static_assert(std::none_of(kAscii.lengths.begin(), kAscii.lengths.end(),
                           [](std::uint8_t length) { return length == kLongImage; }),
              "every ASCII character's atoms must fit the quick way");

// Where a KeyHash has got after some units: their units, each turned by seven bits a place,
// folded together by exclusive or, and how far the turning has reached. The hash of the units
// between two states is worked out from the two alone, so a line's words are hashed in one run
// along it with no dependence from one unit to the next beyond an exclusive or and an addition.
// Left uninitialised unless asked, as a block's worth of them is set aside for every line.
struct KeyHashState {
    std::uint64_t folded;
    std::uint32_t turn; // seven times the units so far, counted modulo 2^32, a multiple of 64

    void Add(std::uint64_t turnedImage, std::uint32_t imageTurn) {
        folded ^= std::rotl(turnedImage, static_cast<int>(turn & 63));
        turn += imageTurn;
    }
};

constexpr std::uint32_t kTurnPerUnit = 7;

std::uint64_t HashBetween(KeyHashState from, KeyHashState to) {
    constexpr std::uint64_t kLengthMix = 0x9E3779B97F4A7C15ull;
    return std::rotr(to.folded ^ from.folded, static_cast<int>(from.turn & 63)) ^
           std::uint64_t{to.turn - from.turn} * kLengthMix;
}

// What the image of each ASCII character adds to a KeyHash: its units turned by seven bits a
// place and folded together, and the turn they take.
struct HashStep {
    std::uint64_t turnedImage = 0;
    std::uint32_t turn = 0;
};

constexpr std::array<HashStep, 128> MakeAsciiHashSteps() {
    std::array<HashStep, 128> steps{};
    for (std::size_t c = 0; c < 128; ++c)
        for (std::size_t i = 0; i < kAscii.lengths[c]; ++i) {
            steps[c].turnedImage ^=
                std::rotl(std::uint64_t{kAscii.units[c][i]}, static_cast<int>(steps[c].turn));
            steps[c].turn += kTurnPerUnit;
        }
    return steps;
}

constexpr std::array<HashStep, 128> kAsciiHashSteps = MakeAsciiHashSteps();
static_assert(kAsciiHashSteps[u' '].turn == 0 && kAsciiHashSteps[u' '].turnedImage == 0,
              "a blank leaves no trace in a key");

// What a UTF-16 unit of a key adds to its KeySum: the unit's bits spread over all 64, so that the
// sums of different sets of units rarely meet (the finaliser of SplitMix64).
constexpr std::uint64_t UnitWeight(char16_t unit) {
    std::uint64_t x = unit + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// What the image of each ASCII character adds to a KeySum.
constexpr std::array<std::uint64_t, 128> MakeAsciiWeights() {
    std::array<std::uint64_t, 128> weights{};
    for (std::size_t c = 0; c < 128; ++c)
        for (std::size_t i = 0; i < kAscii.lengths[c]; ++i)
            weights[c] += UnitWeight(kAscii.units[c][i]);
    return weights;
}

constexpr std::array<std::uint64_t, 128> kAsciiWeights = MakeAsciiWeights();
static_assert(kAsciiWeights[u' '] == 0, "a blank leaves no trace in a key");

// Most atoms a code point has, in UTF-16 units.
constexpr std::size_t kMostUnits = 2 * 127;

char16_t* PutCodePoint(char16_t* out, char32_t c) {
    if (c < 0x10000) {
        *out++ = static_cast<char16_t>(c);
    } else {
        *out++ = static_cast<char16_t>(0xD7C0 + (c >> 10));
        *out++ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
    return out;
}

char16_t* PutAtoms(char16_t* out, char32_t c) {
    const std::uint32_t entry = EntryOf(c);
    if (entry == 0)
        return PutCodePoint(out, c);
    if ((entry & kStringFlag) == 0)
        return PutCodePoint(out, entry);
    const char32_t* atoms = kLooseAtoms + (entry & 0xFFFFFF);
    for (const char32_t* end = atoms + (entry >> 24 & 0x7F); atoms != end; ++atoms)
        out = PutCodePoint(out, *atoms);
    return out;
}

bool IsLead(char16_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsTrail(char16_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// The code point that starts at units[i] of valid text, and i moved past it: a lone surrogate
// stands for itself.
char32_t NextCodePoint(const char16_t* units, std::size_t size, std::size_t& i) {
    char32_t c = units[i++];
    if (IsLead(static_cast<char16_t>(c)) && i < size && IsTrail(units[i]))
        c = 0x10000 + ((c - 0xD800) << 10) + (units[i++] - 0xDC00u);
    return c;
}

// The same for UTF-8, which must be valid: a line on the comparison's fast path stays in bytes.
char32_t NextCodePoint(const char* units, std::size_t size, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(units[i++]);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3Fu >> more);
    for (int k = 0; k < more && i < size; ++k)
        c = c << 6 | (static_cast<unsigned char>(units[i++]) & 0x3Fu);
    return c;
}

// Whether kScanUnits units in a row are all ASCII.
bool AsciiBlock(const char16_t* units) {
    return NonAsciiOrEqualMask(units, 0xFFFF) == 0;
}
bool AsciiBlock(const char* units) {
    static_assert(kScanUnits == 2 * sizeof(std::uint64_t));
    std::uint64_t halves[2];
    std::memcpy(halves, units, sizeof halves);
    return ((halves[0] | halves[1]) & 0x8080'8080'8080'8080ull) == 0;
}

// Goes through the loose key of `text` without writing it down: block(units) for each run of
// kScanUnits ASCII units, ascii(unit) for any other ASCII unit, and atom(unit) for each unit of
// the atoms of every other character. Sixteen ASCII units in a row need no test each. The text
// is UTF-16 or UTF-8: the same characters go through the same key either way.
template <typename Unit, typename Block, typename Ascii, typename Atom>
void WalkLooseKey(std::basic_string_view<Unit> text, Block&& block, Ascii&& ascii, Atom&& atom) {
    const Unit* units = text.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        if (i + kScanUnits <= size && AsciiBlock(units + i)) {
            block(units + i);
            i += kScanUnits;
            continue;
        }
        const char32_t c = NextCodePoint(units, size, i);
        if (c < 128) {
            ascii(static_cast<char16_t>(c));
            continue;
        }
        char16_t atoms[kMostUnits];
        for (const char16_t *at = atoms, *end = PutAtoms(atoms, c); at != end; ++at)
            atom(*at);
    }
}

// KeySum(LooseKey(text)) of UTF-16 or UTF-8 text.
template <typename Unit> std::uint64_t SumOfLooseKey(std::basic_string_view<Unit> text) {
    // Four sums side by side, so that no addition waits for the one before.
    std::uint64_t sums[4] = {};
    const auto weight = [](Unit unit) { return kAsciiWeights[static_cast<std::size_t>(unit)]; };
    WalkLooseKey(
        text,
        [&](const Unit* block) {
            for (int i = 0; i < kScanUnits; i += 4) {
                sums[0] += weight(block[i]);
                sums[1] += weight(block[i + 1]);
                sums[2] += weight(block[i + 2]);
                sums[3] += weight(block[i + 3]);
            }
        },
        [&](char16_t c) { sums[0] += kAsciiWeights[c]; },
        [&](char16_t atom) { sums[1] += UnitWeight(atom); });
    return sums[0] + sums[1] + sums[2] + sums[3];
}

// KeySum(LooseKey(bytes)) of ASCII bytes, eight at a time, or nothing when a byte is not ASCII.
// Lines are short: where a line ends is met with no branch but for lines under eight bytes, the
// last bytes read as the eight that end the line with those already added made blanks, which add
// nothing.
std::optional<std::uint64_t> SumOfAsciiBytes(std::string_view bytes) {
    constexpr std::uint64_t kHighBits = 0x8080'8080'8080'8080ull;
    constexpr std::uint64_t kBlanks = 0x2020'2020'2020'2020ull;
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::uint64_t sums[4] = {};
    if (size < sizeof(std::uint64_t)) {
        for (std::size_t i = 0; i < size; ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            if (byte >= 0x80)
                return std::nullopt;
            sums[0] += kAsciiWeights[byte];
        }
        return sums[0];
    }
    // The bytes of the last word, in whatever order they stand in it: a sum does not care.
    const auto addLast = [&](std::uint64_t word) {
        for (int i = 0; i < 8; i += 4) {
            sums[0] += kAsciiWeights[word >> (8 * i) & 0x7F];
            sums[1] += kAsciiWeights[word >> (8 * i + 8) & 0x7F];
            sums[2] += kAsciiWeights[word >> (8 * i + 16) & 0x7F];
            sums[3] += kAsciiWeights[word >> (8 * i + 24) & 0x7F];
        }
    };
    const auto* const units = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        if ((word & kHighBits) != 0)
            return std::nullopt;
        for (std::size_t k = 0; k < 8; k += 4) {
            sums[0] += kAsciiWeights[units[i + k]];
            sums[1] += kAsciiWeights[units[i + k + 1]];
            sums[2] += kAsciiWeights[units[i + k + 2]];
            sums[3] += kAsciiWeights[units[i + k + 3]];
        }
    }
    const std::size_t left = size - i; // 0 to 7, at the end of the last eight
    std::uint64_t word;
    std::memcpy(&word, data + size - 8, sizeof word);
    // Two shifts, so that none is by 64 when nothing is left.
    const auto shift = static_cast<int>(8 * (7 - left));
    if constexpr (std::endian::native == std::endian::little)
        word = word >> shift >> 8;
    else
        word = word << shift << 8;
    word |=
        std::endian::native == std::endian::little ? kBlanks << (8 * left) : kBlanks >> (8 * left);
    if ((word & kHighBits) != 0)
        return std::nullopt;
    addLast(word);
    return sums[0] + sums[1] + sums[2] + sums[3];
}

} // namespace

std::u16string_view LooseKey(std::u16string_view text, std::u16string& key) {
    // Room for every unit to be ASCII with a full image, copied four units at a time; a character
    // with more atoms makes room for itself and the rest. The buffer only grows, so that it is
    // not filled anew for every line.
    const std::size_t asciiRoom = text.size() * kImageUnits + kImageUnits;
    if (key.size() < asciiRoom)
        key.resize(asciiRoom);
    std::size_t used = 0;
    const auto putAscii = [&](char16_t unit) {
        std::memcpy(key.data() + used, kAscii.units[unit].data(), sizeof kAscii.units[unit]);
        used += kAscii.lengths[unit];
    };
    WalkLooseKey(
        text,
        [&](const char16_t* block) {
            for (int i = 0; i < kScanUnits; ++i)
                putAscii(block[i]);
        },
        putAscii,
        [&](char16_t atom) {
            if (key.size() < used + 1 + asciiRoom)
                key.resize(used + kMostUnits + asciiRoom);
            key[used++] = atom;
        });
    return {key.data(), used};
}

std::uint64_t KeyHash(std::u16string_view key) {
    KeyHashState state{};
    for (char16_t unit : key)
        state.Add(unit, kTurnPerUnit);
    return HashBetween(KeyHashState{}, state);
}

std::uint64_t LooseKeyHash(std::u16string_view text) {
    KeyHashState state{};
    WalkLooseKey(
        text,
        [&](const char16_t* block) {
            for (int i = 0; i < kScanUnits; ++i)
                state.Add(kAsciiHashSteps[block[i]].turnedImage, kAsciiHashSteps[block[i]].turn);
        },
        [&](char16_t c) { state.Add(kAsciiHashSteps[c].turnedImage, kAsciiHashSteps[c].turn); },
        [&](char16_t atom) { state.Add(atom, kTurnPerUnit); });
    return HashBetween(KeyHashState{}, state);
}

KeyedWord LooseKeyHashOfWord(std::u16string_view text, std::size_t from, std::size_t end,
                             std::size_t most) {
    const std::size_t blank = FindUnit(text.substr(0, end), u' ', from);
    if (blank - from > most)
        return {blank, std::nullopt};
    // Words are short: the units are taken one at a time.
    const char16_t* units = text.data();
    KeyHashState state{};
    for (std::size_t i = from; i < blank;) {
        char32_t c = units[i++];
        if (c < 128) {
            state.Add(kAsciiHashSteps[c].turnedImage, kAsciiHashSteps[c].turn);
            continue;
        }
        if (IsLead(static_cast<char16_t>(c)) && i < blank && IsTrail(units[i]))
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i++] - 0xDC00u);
        char16_t atoms[kMostUnits];
        for (const char16_t *at = atoms, *stop = PutAtoms(atoms, c); at != stop; ++at)
            state.Add(*at, kTurnPerUnit);
    }
    return {blank, HashBetween(KeyHashState{}, state)};
}

std::uint64_t KeySum(std::u16string_view key) {
    std::uint64_t sum = 0;
    for (char16_t unit : key)
        sum += UnitWeight(unit);
    return sum;
}

std::uint64_t LooseKeySum(std::u16string_view text) {
    return SumOfLooseKey(text);
}

std::uint64_t LooseKeySum(std::string_view utf8) {
    if (const std::optional<std::uint64_t> ascii = SumOfAsciiBytes(utf8))
        return *ascii;
    return SumOfLooseKey(utf8);
}

} // namespace compare
