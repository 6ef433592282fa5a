#include "compare/RuleText.h"

#include "compare/FindUnit.h"
#include "compare/LookalikeForms.h"
#include "compare/UnitScan.h"

#include <unicode/uspoof.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace compare {

namespace {

constexpr char16_t kPlaceholder = 0xFDD0;
constexpr char16_t kEscape = 0xFDD1;
constexpr char16_t kEscapedPlaceholder = 0xFDD2;
constexpr char16_t kEscapedCR = 0xFDD3;

// Units that every kind leaves as they are, alone and beside any other: ASCII is changed only by
// case and confusable, read from a table; the placeholder and its escapes by none.
bool IsReserved(char16_t unit) {
    return unit >= kPlaceholder && unit <= kEscapedCR;
}

bool IsAscii(std::u16string_view text) {
    char16_t all = 0;
    for (const char16_t unit : text)
        all |= unit;
    return all < 0x80;
}

bool IsPlain(std::u16string_view text) {
    char16_t all = 0;
    for (const char16_t unit : text)
        all |= unit;
    if (all < 0x80)
        return true;
    return std::all_of(text.begin(), text.end(),
                       [](char16_t unit) { return unit < 0x80 || IsReserved(unit); });
}

// What case and confusable make of each ASCII character, in that order, worked out by ICU once:
// a skeleton of ASCII text is the skeletons of its characters one after the other, as none of
// them decomposes or combines.
struct AsciiImages {
    static constexpr std::size_t kMostUnits = 4;
    std::array<std::array<char16_t, kMostUnits>, 128> units{};
    std::array<std::uint8_t, 128> lengths{};
};

AsciiImages MakeAsciiImages(LookalikeKinds kinds) {
    AsciiImages images;
    for (char16_t c = 0; c < 128; ++c) {
        const std::u16string image = RemoveLookalikeDifferences(kinds, std::u16string(1, c));
        if (image.size() > AsciiImages::kMostUnits)
            throw std::logic_error("An ASCII character's skeleton is longer than expected");
        std::copy(image.begin(), image.end(), images.units[c].begin());
        images.lengths[c] = static_cast<std::uint8_t>(image.size());
    }
    return images;
}

const AsciiImages& ImagesFor(LookalikeKinds kinds) {
    const bool caseFolded = kinds.Has(LookalikeKind::Case);
    const bool skeleton = kinds.Has(LookalikeKind::Confusable);
    const auto only = [](bool withCase, bool withSkeleton) {
        LookalikeKinds made;
        if (withCase)
            made = made.With(LookalikeKind::Case);
        if (withSkeleton)
            made = made.With(LookalikeKind::Confusable);
        return made;
    };
    static const AsciiImages none = MakeAsciiImages({});
    static const AsciiImages folded = MakeAsciiImages(only(true, false));
    static const AsciiImages skeletons = MakeAsciiImages(only(false, true));
    static const AsciiImages both = MakeAsciiImages(only(true, true));
    return caseFolded ? (skeleton ? both : folded) : (skeleton ? skeletons : none);
}

constexpr LookalikeKinds kSpaceKinds = LookalikeKinds(LookalikeKind::InnerSpace)
                                           .With(LookalikeKind::LeadingSpace)
                                           .With(LookalikeKind::TrailingSpace);

LookalikeKinds UnitKinds(LookalikeKinds kinds) {
    return LookalikeKinds::FromBits(kinds.Bits() & ~kSpaceKinds.Bits());
}

// Where words may be cut apart before the kinds are removed from each part: blanks, tabs and the
// other spaces, which no kind joins to what stands beside them.
bool IsSeparator(char16_t unit) {
    return IsBlankOrTab(unit) || IsSpecialSpace(unit) || unit == 0x2028 || unit == 0x2029;
}

// The three rules about blanks and tabs, which come last in the order of removal: inner runs to
// one blank, then the leading run and the trailing run dropped. Calls keep(start, end) for each
// stretch of `text` kept as it is and blank(start, end) for a run that becomes one blank, in
// order. Returns false when nothing changes.
template <typename Keep, typename Blank>
bool ForEachSpacePart(std::u16string_view text, LookalikeKinds kinds, Keep&& keep, Blank&& blank) {
    const std::size_t size = text.size();
    std::size_t first = 0;
    while (first < size && IsBlankOrTab(text[first]))
        ++first;
    if (first == size) // all blanks and tabs: the leading run is the trailing run
        return size > 0 &&
               (kinds.Has(LookalikeKind::LeadingSpace) || kinds.Has(LookalikeKind::TrailingSpace));
    std::size_t last = size;
    while (IsBlankOrTab(text[last - 1]))
        --last;
    const bool leading = kinds.Has(LookalikeKind::LeadingSpace) && first > 0;
    const bool trailing = kinds.Has(LookalikeKind::TrailingSpace) && last < size;
    bool inner = false;
    if (kinds.Has(LookalikeKind::InnerSpace))
        for (std::size_t i = first; i < last && !inner; ++i)
            inner = text[i] == u'\t' || (text[i] == u' ' && text[i + 1] == u' ');
    if (!leading && !trailing && !inner)
        return false;
    if (!leading && first > 0)
        keep(std::size_t{0}, first);
    std::size_t from = first;
    for (std::size_t i = first; inner && i < last;) {
        if (!IsBlankOrTab(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (IsBlankOrTab(text[end]))
            ++end;
        if (end - i > 1 || text[i] != u' ') {
            keep(from, i);
            blank(i, end);
            from = end;
        }
        i = end;
    }
    keep(from, last);
    if (!trailing && last < size)
        keep(last, size);
    return true;
}

} // namespace

struct RuleText::Work {
    std::optional<RuleExpression::Finder> ignoreMatching;
    std::vector<RuleExpression::Finder> masks;
    LookalikeKinds unitKinds;
    LookalikeKinds spaceKinds;
    const AsciiImages* images = nullptr;
    bool skeletons = false; // an image may be longer than its unit
    std::vector<std::pair<std::size_t, std::size_t>> matches;
    std::vector<std::pair<std::size_t, std::size_t>> allMatches;
    std::u16string masked;
    std::u16string key;
    // The stages of a word comparison's line: masked, then the kinds of single units, then the
    // blanks; each with where its units come from in the line.
    std::u16string maskedLine;
    UnitOrigins maskedOrigins;
    struct {
        std::u16string text;
        UnitOrigins origins;
    } units;
    std::u16string spaced;
    // Where the runs of blanks of a plain line became one blank.
    struct Join {
        std::size_t at;
        std::size_t from;
        std::size_t to;
    };
    std::vector<Join> joins;

    // The matches of every mask in `line`; matches of different masks that overlap are one.
    const std::vector<std::pair<std::size_t, std::size_t>>& MatchesIn(std::u16string_view line) {
        allMatches.clear();
        for (RuleExpression::Finder& mask : masks) {
            mask.FindAllIn(line, matches);
            allMatches.insert(allMatches.end(), matches.begin(), matches.end());
        }
        if (masks.size() > 1 && !allMatches.empty()) {
            std::sort(allMatches.begin(), allMatches.end());
            std::size_t kept = 0;
            for (std::size_t i = 1; i < allMatches.size(); ++i) {
                if (allMatches[i].first < allMatches[kept].second)
                    allMatches[kept].second =
                        std::max(allMatches[kept].second, allMatches[i].second);
                else if (allMatches[i] != allMatches[kept])
                    allMatches[++kept] = allMatches[i];
            }
            allMatches.resize(kept + 1);
        }
        return allMatches;
    }

    // `line` with the masks' matches as placeholders and the reserved units escaped (and a CR
    // too, with `escapeCR`), into `out`, calling origin(length, from, to, exact) for each part.
    // Returns false, writing nothing, when that leaves the line as it is.
    template <typename Origin>
    bool Mask(std::u16string_view line, bool escapeCR, std::u16string& out, Origin&& origin) {
        if (masks.empty())
            allMatches.clear();
        const auto& found = masks.empty() ? allMatches : MatchesIn(line);
        // Escapes are needed wherever something else could come to read like the text's own.
        const bool escapeReserved = !masks.empty() || escapeCR;
        const auto escapedAs = [&](char16_t unit) -> char16_t {
            if (unit == u'\r')
                return escapeCR ? kEscapedCR : 0;
            if (!escapeReserved || (unit != kPlaceholder && unit != kEscape))
                return 0;
            return unit == kPlaceholder ? kEscapedPlaceholder : kEscape;
        };
        // Only a CR or a reserved unit is escaped, and most lines are ASCII with no CR to escape:
        // those are told by one vectorised pass.
        const bool escapes = (escapeCR || !IsAscii(line)) &&
                             std::any_of(line.begin(), line.end(),
                                         [&](char16_t unit) { return escapedAs(unit) != 0; });
        if (found.empty() && !escapes)
            return false;
        out.clear();
        const auto copy = [&](std::size_t from, std::size_t to) {
            std::size_t run = from;
            for (std::size_t i = from; i < to && escapes; ++i) {
                const char16_t escaped = escapedAs(line[i]);
                if (escaped == 0)
                    continue;
                out.append(line.substr(run, i - run));
                origin(i - run, run, i, true);
                out.push_back(kEscape);
                out.push_back(escaped);
                origin(2, i, i + 1, false);
                run = i + 1;
            }
            out.append(line.substr(run, to - run));
            origin(to - run, run, to, true);
        };
        std::size_t at = 0;
        for (const auto& [start, end] : found) {
            copy(at, start);
            out.push_back(kPlaceholder);
            origin(1, start, end, false);
            at = end;
        }
        copy(at, line.size());
        return true;
    }

    // Case and confusable of plain text, from the table, appended to `out`.
    void AppendPlainImages(std::u16string_view text, std::u16string& out) const {
        const std::size_t at = out.size();
        out.resize(at + text.size() * AsciiImages::kMostUnits);
        char16_t* put = out.data() + at;
        for (const char16_t unit : text) {
            if (unit >= 0x80) {
                *put++ = unit;
                continue;
            }
            const auto& image = images->units[unit];
            put = std::copy_n(image.begin(), images->lengths[unit], put);
        }
        out.resize(static_cast<std::size_t>(put - out.data()));
    }

    // The key of plain text, written to `out`; returns its length. The leading and the trailing
    // run of blanks and tabs are found first; between them every run is inside the text. Each
    // run that becomes one blank other than unit for unit is told to joined(at, from, to): where
    // its blank stands in `out`, and the run in `text`. `begin` is left where the first unit of
    // the key comes from.
    template <typename Joined>
    std::size_t PlainKey(std::u16string_view text, char16_t* out, std::size_t& begin,
                         Joined&& joined) const {
        char16_t* const start = out;
        const char16_t* in = text.data();
        const std::size_t size = text.size();
        std::size_t first = 0;
        while (first < size && IsBlankOrTab(in[first]))
            ++first;
        const bool leading = spaceKinds.Has(LookalikeKind::LeadingSpace);
        const bool trailing = spaceKinds.Has(LookalikeKind::TrailingSpace);
        begin = leading ? first : 0;
        if (first == size) // all blanks and tabs, or nothing
            return leading || trailing ? 0
                                       : static_cast<std::size_t>(std::copy_n(in, size, out) - out);
        std::size_t last = size;
        while (IsBlankOrTab(in[last - 1]))
            --last;
        if (!leading)
            out = std::copy_n(in, first, out);
        const auto at = [&](char16_t* put) { return static_cast<std::size_t>(put - start); };
        out = skeletons ? MiddleWithImages(in, first, last, out)
                        : FoldedMiddle(in, first, last, out,
                                       [&](char16_t* put, std::size_t from, std::size_t to) {
                                           joined(at(put), from, to);
                                       });
        if (!trailing)
            out = std::copy(in + last, in + size, out);
        return static_cast<std::size_t>(out - start);
    }

    // in[from, to), which begins and ends with no blank, with case and the confusable skeleton
    // from the table, and each run of blanks and tabs as one blank under inner-space.
    char16_t* MiddleWithImages(const char16_t* in, std::size_t from, std::size_t to,
                               char16_t* out) const {
        const bool inner = spaceKinds.Has(LookalikeKind::InnerSpace);
        bool inRun = false;
        for (std::size_t i = from; i < to; ++i) {
            const char16_t unit = in[i];
            if (inner && IsBlankOrTab(unit)) {
                if (!inRun)
                    *out++ = u' ';
                inRun = true;
                continue;
            }
            inRun = false;
            if (unit >= 0x80) {
                *out++ = unit;
                continue;
            }
            out = std::copy_n(images->units[unit].begin(), images->lengths[unit], out);
        }
        return out;
    }

    // The same when no image is longer than its unit: sixteen units at a time, folded as they
    // are copied, and looked at one by one only where a run of blanks has to be joined; each
    // such run is told to joined(blank, from, to).
    template <typename Joined>
    char16_t* FoldedMiddle(const char16_t* in, std::size_t from, std::size_t to, char16_t* out,
                           Joined&& joined) const {
        const bool inner = spaceKinds.Has(LookalikeKind::InnerSpace);
        const bool fold = unitKinds.Has(LookalikeKind::Case);
        bool inRun = false;
        std::size_t runFrom = 0;  // where the run being read began
        char16_t* runBlank = out; // and the blank it became
        const auto one = [&](std::size_t i) {
            const char16_t unit = in[i];
            if (inner && IsBlankOrTab(unit)) {
                if (!inRun) {
                    runFrom = i;
                    runBlank = out;
                    *out++ = u' ';
                }
                inRun = true;
                return;
            }
            if (inRun && (i - runFrom > 1 || in[runFrom] != u' '))
                joined(runBlank, runFrom, i);
            inRun = false;
            *out++ =
                fold && unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 0x20) : unit;
        };
        std::size_t i = from;
        for (; i + kScanUnits <= to; i += kScanUnits) {
            const UnitMasks found = FoldedCopy(in + i, fold, out);
            const std::uint32_t twice = found.a & (found.a << 1 | (inRun ? 1u : 0u));
            if (!inner || (found.b | twice) == 0) {
                // No run here is joined: one that the block before left open ends where this
                // block begins, and a blank at its end may begin one.
                if (inRun && (i - runFrom > 1 || in[runFrom] != u' '))
                    joined(runBlank, runFrom, i);
                out += kScanUnits;
                inRun = inner && (found.a >> (kScanUnits - 1) & 1) != 0;
                runFrom = i + kScanUnits - 1;
                runBlank = out - 1;
                continue;
            }
            for (std::size_t k = i; k < i + kScanUnits; ++k)
                one(k);
        }
        for (; i < to; ++i)
            one(i);
        return out;
    }

    // A word comparison's line of ASCII, without CR, with no mask and no skeleton: its key, and
    // where its units come from read off the runs of blanks that became one.
    void PlainForm(std::u16string_view line, RuleLine& form) {
        if (form.units.size() < line.size())
            form.units.resize(line.size()); // only grows: most lines are not the longest
        joins.clear();
        std::size_t begin = 0;
        form.length = PlainKey(line, form.units.data(), begin,
                               [&](std::size_t at, std::size_t from, std::size_t to) {
                                   joins.push_back({at, from, to});
                               });
        form.origins.Clear();
        std::size_t made = 0;
        for (const Join& join : joins) {
            form.origins.Add(join.at - made, begin, begin + (join.at - made), true);
            form.origins.Add(1, join.from, join.to, false);
            begin = join.to;
            made = join.at + 1;
        }
        form.origins.Add(form.length - made, begin, begin + (form.length - made), true);
    }

    bool ImagesChangeNothing() const {
        return !unitKinds.Has(LookalikeKind::Case) && !unitKinds.Has(LookalikeKind::Confusable);
    }
};

RuleText::RuleText(const ComparisonRules& rules) : rules_(rules), work_(std::make_unique<Work>()) {
    if (rules_.IgnoreMatching())
        work_->ignoreMatching.emplace(*rules_.IgnoreMatching());
    for (const RuleExpression& mask : rules_.Masks())
        work_->masks.emplace_back(mask);
    work_->unitKinds = UnitKinds(rules_.Kinds());
    work_->spaceKinds = LookalikeKinds::FromBits(rules_.Kinds().Bits() & kSpaceKinds.Bits());
    work_->images = &ImagesFor(rules_.Kinds());
    work_->skeletons = rules_.Kinds().Has(LookalikeKind::Confusable);
}

RuleText::~RuleText() = default;

bool RuleText::Ignored(std::u16string_view line) {
    return work_->ignoreMatching && work_->ignoreMatching->FindsIn(line);
}

std::u16string_view RuleText::Masked(std::u16string_view content) {
    Work& work = *work_;
    if (work.masks.empty())
        return content;
    if (!work.Mask(content, false, work.masked, [](std::size_t, std::size_t, std::size_t, bool) {}))
        return content;
    return work.masked;
}

std::u16string_view RuleText::Key(std::u16string_view content) {
    Work& work = *work_;
    const std::u16string_view masked = Masked(content);
    if (rules_.Kinds().Empty())
        return masked;
    std::u16string& key = work.key;
    if (!IsPlain(masked)) {
        key = RemoveLookalikeDifferences(rules_.Kinds(), masked);
        return key;
    }
    // The key is written into a buffer that only grows, with room for the longest images, and
    // the rules about blanks applied on the way: one pass, and no allocation, for most lines.
    // Only a skeleton is longer than its unit: without one the key is never longer than the
    // line, which for a line of tens of millions of units is hundreds of megabytes less.
    const std::size_t room = masked.size() * (work.skeletons ? AsciiImages::kMostUnits : 1);
    if (key.size() < room)
        key.resize(room);
    std::size_t begin = 0;
    return {key.data(),
            work.PlainKey(masked, key.data(), begin, [](std::size_t, std::size_t, std::size_t) {})};
}

bool RuleText::KeyIsContent(std::u16string_view content) const {
    const Work& work = *work_;
    // Of the kinds, only case and confusable change ASCII, and the rules about blanks only blanks
    // and tabs: at the ends, and in runs or as tabs inside.
    if (!work.masks.empty() || work.skeletons)
        return false;
    if (content.empty())
        return true;
    const bool leading = work.spaceKinds.Has(LookalikeKind::LeadingSpace);
    const bool trailing = work.spaceKinds.Has(LookalikeKind::TrailingSpace);
    const bool inner = work.spaceKinds.Has(LookalikeKind::InnerSpace);
    if ((leading && IsBlankOrTab(content.front())) || (trailing && IsBlankOrTab(content.back())))
        return false;
    const bool fold = work.unitKinds.Has(LookalikeKind::Case);
    const char16_t* units = content.data();
    const std::size_t size = content.size();
    std::uint32_t blankBefore = 0; // the last unit looked at was a blank
    std::size_t i = 0;
    for (; i + kScanUnits <= size; i += kScanUnits) {
        const UnitMasks found = RuleChangeMasks(units + i, fold);
        const std::uint32_t doubled = found.b & (found.b << 1 | blankBefore);
        if (found.a != 0 || (inner && doubled != 0))
            return false;
        blankBefore = found.b >> (kScanUnits - 1) & 1;
    }
    for (; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit >= 0x80 || unit == u'\t' || (fold && unit >= u'A' && unit <= u'Z') ||
            (inner && unit == u' ' && blankBefore != 0))
            return false;
        blankBefore = unit == u' ' ? 1 : 0;
    }
    return true;
}

bool RuleText::FormsInParts(std::u16string_view line) const {
    return work_->masks.empty() && !work_->skeletons && IsAscii(line) &&
           FindUnit(line, u'\r', 0) == line.size();
}

std::size_t RuleText::PartEnd(std::u16string_view line, std::size_t from, std::size_t units) {
    // After a blank and before what is no blank or tab: a word ends there in the form, whatever
    // the rules about blanks do with the run the blank ends (a tab, without inner-space, is part
    // of a word).
    std::size_t end = from + units;
    while (end < line.size() && !(line[end - 1] == u' ' && !IsBlankOrTab(line[end])))
        ++end;
    return std::min(end, line.size());
}

void RuleText::FormPart(std::u16string_view line, std::size_t from, std::size_t to,
                        RuleLine& form) {
    // A part that is not the last is formed with the first unit of the next, so that the run of
    // blanks that ends it is inside the text, as in the whole line; that unit, which case alone
    // may change, is then left off.
    const bool last = to == line.size();
    work_->PlainForm(line.substr(from, to - from + (last ? 0 : 1)), form);
    if (!last)
        --form.length;
}

void RuleText::Form(std::u16string_view line, RuleLine& form) {
    Work& work = *work_;
    if (FormsInParts(line)) {
        work.PlainForm(line, form);
        return;
    }
    // The masks and the escapes.
    std::u16string_view masked = line;
    work.maskedOrigins.Clear();
    if (work.Mask(line, true, work.maskedLine,
                  [&](std::size_t length, std::size_t from, std::size_t to, bool exact) {
                      work.maskedOrigins.Add(length, from, to, exact);
                  }))
        masked = work.maskedLine;
    else
        work.maskedOrigins.SetIdentity(line.size());
    const UnitOrigins* maskedOrigins = &work.maskedOrigins;
    // The kinds of single units, part by part: plain text from the table, anything else by ICU
    // a word (or a space) at a time.
    auto& units = work.units;
    units.text.clear();
    units.origins.Clear();
    const LookalikeKinds unitKinds = work.unitKinds;
    // Plain units one image each: runs of units whose images are single units are exact.
    const auto addPlain = [&](std::size_t from, std::size_t to) {
        std::size_t run = from;
        const auto flush = [&](std::size_t end) {
            maskedOrigins->AppendTo(units.origins, run, end, end - run, true);
        };
        const std::size_t before = units.text.size();
        work.AppendPlainImages(masked.substr(from, to - from), units.text);
        if (units.text.size() - before == to - from) {
            flush(to);
            return;
        }
        for (std::size_t i = from; i < to; ++i) {
            const char16_t unit = masked[i];
            const std::size_t length = unit < 0x80 ? work.images->lengths[unit] : 1;
            if (length == 1)
                continue;
            flush(i);
            maskedOrigins->AppendTo(units.origins, i, i + 1, length, false);
            run = i + 1;
        }
        flush(to);
    };
    if (unitKinds.Empty() || (work.ImagesChangeNothing() && IsPlain(masked))) {
        units.text.assign(masked);
        maskedOrigins->AppendTo(units.origins, 0, masked.size(), masked.size(), true);
    } else if (IsPlain(masked)) {
        addPlain(0, masked.size());
    } else {
        for (std::size_t from = 0; from < masked.size();) {
            std::size_t to = from + 1;
            if (!IsSeparator(masked[from]))
                while (to < masked.size() && !IsSeparator(masked[to]))
                    ++to;
            const std::u16string_view part = masked.substr(from, to - from);
            if (IsPlain(part)) {
                addPlain(from, to);
            } else {
                const std::u16string made = RemoveLookalikeDifferences(unitKinds, part);
                units.text.append(made);
                maskedOrigins->AppendTo(units.origins, from, to, made.size(), made == part);
            }
            from = to;
        }
    }
    // The blanks.
    std::u16string& spaced = work.spaced;
    spaced.clear();
    form.origins.Clear();
    const std::u16string_view made = units.text;
    const auto keep = [&](std::size_t from, std::size_t to) {
        spaced.append(made.substr(from, to - from));
        units.origins.AppendTo(form.origins, from, to, to - from, true);
    };
    const auto blank = [&](std::size_t from, std::size_t to) {
        spaced.push_back(u' ');
        units.origins.AppendTo(form.origins, from, to, 1, false);
    };
    if (work.spaceKinds.Empty() || !ForEachSpacePart(made, work.spaceKinds, keep, blank)) {
        std::swap(spaced, units.text);
        std::swap(form.origins, units.origins);
    }
    std::swap(form.units, spaced);
    form.length = form.units.size();
}

} // namespace compare
