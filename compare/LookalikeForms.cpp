#include "compare/LookalikeForms.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace compare {

namespace {

bool AllAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x80; });
}

std::optional<std::u16string> Changed(std::u16string result, std::u16string_view text) {
    if (result == text)
        return std::nullopt;
    return result;
}

// ICU counts in 32-bit lengths; longer texts are left as they are rather than cut.
bool FitsIcu(std::u16string_view text) {
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max());
}

icu::UnicodeString Alias(std::u16string_view text) {
    return icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size()));
}

std::u16string FromIcu(const icu::UnicodeString& text) {
    return {text.getBuffer(), static_cast<std::size_t>(text.length())};
}

void ThrowIfFailed(UErrorCode status) {
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("Unicode data are missing: ") + u_errorName(status));
}

// `instance` is one of ICU's getters of a normal form, which keep the form once made.
using NormalForm = const icu::Normalizer2* (*)(UErrorCode&);

std::optional<std::u16string> Normalized(NormalForm instance, std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* form = instance(status);
    ThrowIfFailed(status);
    const icu::UnicodeString alias = Alias(text);
    if (form->isNormalized(alias, status) || U_FAILURE(status))
        return std::nullopt;
    const icu::UnicodeString normal = form->normalize(alias, status);
    ThrowIfFailed(status);
    return Changed(FromIcu(normal), text);
}

// Opened once and never changed, so that threads may share it.
const USpoofChecker* SpoofChecker() {
    static const USpoofChecker* checker = [] {
        UErrorCode status = U_ZERO_ERROR;
        USpoofChecker* opened = uspoof_open(&status);
        ThrowIfFailed(status);
        return opened;
    }();
    return checker;
}

std::optional<std::u16string> CaseFolded(std::u16string_view text) {
    if (AllAscii(text)) {
        if (std::none_of(text.begin(), text.end(),
                         [](char16_t unit) { return unit >= u'A' && unit <= u'Z'; }))
            return std::nullopt;
        std::u16string folded(text);
        for (char16_t& unit : folded)
            if (unit >= u'A' && unit <= u'Z')
                unit = static_cast<char16_t>(unit + (u'a' - u'A'));
        return folded;
    }
    std::u16string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (U_IS_BMP(f)) {
            folded.push_back(static_cast<char16_t>(f));
        } else {
            folded.push_back(U16_LEAD(f));
            folded.push_back(U16_TRAIL(f));
        }
    }
    return Changed(std::move(folded), text);
}

// The skeletons of the ASCII characters, asked of ICU once. A skeleton is made by decomposing the
// text, putting each character's prototype in its place and decomposing again; decomposing leaves
// ASCII as it is, so the skeleton of ASCII text whose characters' prototypes are ASCII too (all
// but a few, like "%") is those prototypes one after the other.
struct AsciiPrototypes {
    std::array<std::u16string, 128> of;
    std::array<bool, 128> ascii{};
};

const AsciiPrototypes& Prototypes() {
    static const AsciiPrototypes prototypes = [] {
        AsciiPrototypes made;
        for (char16_t c = 0; c < 128; ++c) {
            UErrorCode status = U_ZERO_ERROR;
            icu::UnicodeString skeleton;
            uspoof_getSkeletonUnicodeString(SpoofChecker(), 0, icu::UnicodeString(c), skeleton,
                                            &status);
            ThrowIfFailed(status);
            made.of[c] = FromIcu(skeleton);
            made.ascii[c] = AllAscii(made.of[c]);
        }
        return made;
    }();
    return prototypes;
}

std::optional<std::u16string> Skeleton(std::u16string_view text) {
    const AsciiPrototypes& prototypes = Prototypes();
    if (std::all_of(text.begin(), text.end(),
                    [&](char16_t c) { return c < 128 && prototypes.ascii[c]; })) {
        std::u16string skeleton;
        skeleton.reserve(text.size());
        for (char16_t c : text)
            skeleton += prototypes.of[c];
        return Changed(std::move(skeleton), text);
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString skeleton;
    uspoof_getSkeletonUnicodeString(SpoofChecker(), 0, Alias(text), skeleton, &status);
    ThrowIfFailed(status);
    return Changed(FromIcu(skeleton), text);
}

template <typename Keep>
std::optional<std::u16string> KeptOnly(std::u16string_view text, Keep keep) {
    if (std::all_of(text.begin(), text.end(), keep))
        return std::nullopt;
    std::u16string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), keep);
    return kept;
}

std::optional<std::u16string> SpecialSpacesAsBlanks(std::u16string_view text) {
    if (std::none_of(text.begin(), text.end(), IsSpecialSpace))
        return std::nullopt;
    std::u16string blanked(text);
    std::replace_if(blanked.begin(), blanked.end(), IsSpecialSpace, u' ');
    return blanked;
}

std::optional<std::u16string> InnerRunsAsOneBlank(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == text.npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(u" \t");
    std::u16string result(text.substr(0, first));
    for (std::size_t i = first; i <= last;) {
        if (!IsBlankOrTab(text[i])) {
            result.push_back(text[i++]);
            continue;
        }
        result.push_back(u' ');
        while (IsBlankOrTab(text[i]))
            ++i;
    }
    result.append(text.substr(last + 1));
    return Changed(std::move(result), text);
}

std::optional<std::u16string> WithoutLeadingBlanks(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == 0 || text.empty())
        return std::nullopt;
    return std::u16string(text.substr(std::min(first, text.size())));
}

std::optional<std::u16string> WithoutTrailingBlanks(std::u16string_view text) {
    const std::size_t last = text.find_last_not_of(u" \t");
    const std::size_t kept = last == text.npos ? 0 : last + 1;
    if (kept == text.size())
        return std::nullopt;
    return std::u16string(text.substr(0, kept));
}

} // namespace

bool IsSpecialSpace(char16_t unit) {
    return unit == 0x00A0 || unit == 0x1680 || (unit >= 0x2000 && unit <= 0x200A) ||
           unit == 0x202F || unit == 0x205F || unit == 0x3000;
}

bool IsZeroWidth(char16_t unit) {
    return unit == 0x200B || unit == 0x200C || unit == 0x200D || unit == 0x2060 || unit == 0xFEFF ||
           unit == 0x00AD;
}

std::optional<std::u16string> RemoveLookalikeDifference(LookalikeKind kind,
                                                        std::u16string_view text) {
    switch (kind) {
    case LookalikeKind::TrailingSpace:
        return WithoutTrailingBlanks(text);
    case LookalikeKind::LeadingSpace:
        return WithoutLeadingBlanks(text);
    case LookalikeKind::InnerSpace:
        return InnerRunsAsOneBlank(text);
    case LookalikeKind::Nbsp:
        return SpecialSpacesAsBlanks(text);
    case LookalikeKind::ZeroWidth:
        return KeptOnly(text, [](char16_t unit) { return !IsZeroWidth(unit); });
    case LookalikeKind::Case:
        return CaseFolded(text);
    default:
        break;
    }
    // The Unicode forms leave plain ASCII as it is, except for the skeleton of a few letters
    // and digits ("0" becomes "O", "m" becomes "rn").
    if (!FitsIcu(text) || (kind != LookalikeKind::Confusable && AllAscii(text)))
        return std::nullopt;
    if (kind == LookalikeKind::UnicodeForm)
        return Normalized(&icu::Normalizer2::getNFCInstance, text);
    if (kind == LookalikeKind::Compatibility)
        return Normalized(&icu::Normalizer2::getNFKCInstance, text);
    return Skeleton(text);
}

std::u16string RemoveLookalikeDifferences(LookalikeKinds kinds, std::u16string_view text) {
    std::u16string result(text);
    for (LookalikeKind kind : kLookalikeRemovalOrder)
        if (kinds.Has(kind))
            if (std::optional<std::u16string> removed = RemoveLookalikeDifference(kind, result))
                result = std::move(*removed);
    return result;
}

} // namespace compare
