#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace compare {

// The kinds of difference that leave two pieces of text looking the same, in the order in which
// they are named: where several would each explain a difference alone, the earliest is named.
enum class LookalikeKind : std::uint8_t {
    TrailingSpace, // blanks and tabs at the end
    LeadingSpace,  // blanks and tabs at the start
    InnerSpace,    // a tab against blanks, or runs of blanks of different length, inside the text
    Nbsp,          // a non-breaking or other special space where the other has U+0020
    ZeroWidth,     // U+200B, U+200C, U+200D, U+2060, U+FEFF or U+00AD in one and not the other
    Case,          // letters that differ only in case
    UnicodeForm,   // composed against decomposed characters (equal under NFC)
    Compatibility, // ligatures, full-width forms, superscripts... (equal under NFKC)
    Confusable,    // characters that look alike across scripts (equal confusable skeletons)
};

inline constexpr std::size_t kLookalikeKindCount = 9;

inline constexpr std::array<LookalikeKind, kLookalikeKindCount> kLookalikeKinds{
    LookalikeKind::TrailingSpace, LookalikeKind::LeadingSpace,  LookalikeKind::InnerSpace,
    LookalikeKind::Nbsp,          LookalikeKind::ZeroWidth,     LookalikeKind::Case,
    LookalikeKind::UnicodeForm,   LookalikeKind::Compatibility, LookalikeKind::Confusable};

// The name a report gives the kind: "trailing-space", "nbsp", "unicode-form"...
std::string_view LookalikeKindName(LookalikeKind kind);

// A set of kinds, kept as one bit per kind in the order above.
class LookalikeKinds {
public:
    constexpr LookalikeKinds() = default;
    constexpr LookalikeKinds(LookalikeKind kind) : bits_(Bit(kind)) {}
    static constexpr LookalikeKinds FromBits(std::uint16_t bits) {
        LookalikeKinds kinds;
        kinds.bits_ = bits & ((1u << kLookalikeKindCount) - 1);
        return kinds;
    }

    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool Has(LookalikeKind kind) const { return (bits_ & Bit(kind)) != 0; }
    constexpr LookalikeKinds With(LookalikeKind kind) const { return FromBits(bits_ | Bit(kind)); }
    constexpr LookalikeKinds Without(LookalikeKind kind) const {
        return FromBits(bits_ & ~Bit(kind));
    }

    friend constexpr bool operator==(LookalikeKinds, LookalikeKinds) = default;

private:
    static constexpr std::uint16_t Bit(LookalikeKind kind) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(kind));
    }
    std::uint16_t bits_ = 0;
};

} // namespace compare
