#pragma once

#include "compare/LookalikeKinds.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace compare {

// What removing each kind of look-alike difference does to one text. Two texts differ only by a
// set of kinds when they become equal once each kind of the set has been removed from both.
//   trailing-space  blanks (U+0020) and tabs (U+0009) at the end are dropped;
//   leading-space   blanks and tabs at the start are dropped;
//   inner-space     each run of blanks and tabs with other text on both sides becomes one blank;
//   nbsp            every other space separator (U+00A0, U+1680, U+2000 to U+200A, U+202F,
//                   U+205F, U+3000) becomes a blank;
//   zero-width      U+200B, U+200C, U+200D, U+2060, U+FEFF and U+00AD are dropped;
//   case            each letter is case-folded on its own (simple folding: "Hello" and "HELLO"
//                   agree, "Straße" and "STRASSE" do not, nor do the ligature "ﬁ" and "FI");
//   unicode-form    the text is put in NFC;
//   compatibility   the text is put in NFKC;
//   confusable      the text is replaced by its confusable skeleton (Unicode's UTS #39, by ICU).
// When several kinds are removed they are removed in the order of kLookalikeRemovalOrder: the
// characters that are dropped or become blanks first, then the normal forms, the case and the
// skeleton, and the blanks last, so that a trailing U+00A0 counts as nbsp with trailing-space,
// and "Abc " against "abc" as case with trailing-space.
inline constexpr std::array<LookalikeKind, kLookalikeKindCount> kLookalikeRemovalOrder{
    LookalikeKind::ZeroWidth,     LookalikeKind::Nbsp,         LookalikeKind::UnicodeForm,
    LookalikeKind::Compatibility, LookalikeKind::Case,         LookalikeKind::Confusable,
    LookalikeKind::InnerSpace,    LookalikeKind::LeadingSpace, LookalikeKind::TrailingSpace};

// `text` with the kind of difference removed, or nothing when that leaves it unchanged.
std::optional<std::u16string> RemoveLookalikeDifference(LookalikeKind kind,
                                                        std::u16string_view text);

// `text` with every kind of `kinds` removed, in the order above.
std::u16string RemoveLookalikeDifferences(LookalikeKinds kinds, std::u16string_view text);

// The characters the nbsp and zero-width kinds are about.
bool IsSpecialSpace(char16_t unit);
bool IsZeroWidth(char16_t unit);
inline bool IsBlankOrTab(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

} // namespace compare
