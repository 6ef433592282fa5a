// Writes the table of the loose key (see LooseKey.h) as C++ source, from the Unicode data of the
// ICU the project is built with. Run by the build; its output is compiled into the engine.
//
// The loose key maps every code point to a string of "atoms", and a text to the concatenation of
// its code points' atoms. It must give two texts the same key whenever removing some kinds of
// look-alike difference makes them equal, whichever kinds and in whatever order. That holds when
// each code point's atoms equal the atoms of what any single step can turn it into:
//   - blanks, tabs, other space separators, the zero-width characters and the combining marks
//     (which normalisation may reorder or fuse) have no atoms;
//   - a code point has the atoms of its compatibility decomposition (NFKD), of its simple case
//     folding and of its confusable skeleton.
// These are equations between strings of atoms. They are solved by substitution: an atom that
// must equal a string is replaced by that string everywhere, two strings of equal length are
// equated atom by atom, and what cannot be matched up otherwise is given no atoms, which only
// makes the key coarser (more candidates to check), never wrong.

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Atoms = std::vector<char32_t>;

constexpr char32_t kCodePoints = 0x110000;
constexpr char32_t kBlockSize = 256;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

bool IsZeroWidth(char32_t c) {
    return c == 0x200B || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF || c == 0xAD;
}

bool HasNoAtoms(char32_t c) {
    const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(c)));
    return c == u' ' || c == u'\t' || type == U_SPACE_SEPARATOR || IsZeroWidth(c) ||
           u_getCombiningClass(static_cast<UChar32>(c)) != 0;
}

Atoms ToAtoms(const icu::UnicodeString& text) {
    Atoms atoms;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        atoms.push_back(static_cast<char32_t>(c));
        i += U16_LENGTH(c);
    }
    return atoms;
}

// What each atom has been replaced by; an atom not listed stands for itself.
class Substitutions {
public:
    void ExpandInto(char32_t atom, Atoms& out) const {
        const auto found = replaced_.find(atom);
        if (found == replaced_.end()) {
            out.push_back(atom);
            return;
        }
        for (char32_t part : found->second)
            ExpandInto(part, out);
    }
    Atoms Expand(const Atoms& atoms) const {
        Atoms out;
        for (char32_t atom : atoms)
            ExpandInto(atom, out);
        return out;
    }
    // Makes the two strings equal; returns false if they were already. Both must be expanded.
    bool Unify(Atoms left, Atoms right) {
        if (left == right)
            return false;
        while (!left.empty() && !right.empty() && left.front() == right.front()) {
            left.erase(left.begin());
            right.erase(right.begin());
        }
        while (!left.empty() && !right.empty() && left.back() == right.back()) {
            left.pop_back();
            right.pop_back();
        }
        if (left.size() > right.size())
            std::swap(left, right);
        if (left.size() == 1 && std::find(right.begin(), right.end(), left[0]) == right.end()) {
            replaced_[left[0]] = right;
        } else if (left.size() == right.size()) {
            for (std::size_t i = 0; i < left.size(); ++i)
                Unify(Expand({left[i]}), Expand({right[i]}));
        } else {
            for (char32_t atom : left)
                replaced_.try_emplace(atom);
            for (char32_t atom : right)
                replaced_.try_emplace(atom);
        }
        return true;
    }

private:
    std::map<char32_t, Atoms> replaced_;
};

struct Rule {
    char32_t from;
    Atoms to;
};

std::vector<Rule> CollectRules() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
    USpoofChecker* checker = uspoof_open(&status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
        std::exit(1);
    }
    std::vector<Rule> rules;
    for (char32_t c = 0; c < kCodePoints; ++c) {
        if (IsSurrogate(c) || u_charType(static_cast<UChar32>(c)) == U_UNASSIGNED)
            continue;
        // A character without atoms still has its other rules: what it stands for has none.
        if (HasNoAtoms(c))
            rules.push_back({c, {}});
        const icu::UnicodeString one(static_cast<UChar32>(c));
        const icu::UnicodeString decomposed = nfkd->normalize(one, status);
        if (decomposed != one)
            rules.push_back({c, ToAtoms(decomposed)});
        const auto folded =
            static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
        if (folded != c)
            rules.push_back({c, {folded}});
        icu::UnicodeString skeleton;
        uspoof_getSkeletonUnicodeString(checker, 0, one, skeleton, &status);
        if (skeleton != one)
            rules.push_back({c, ToAtoms(skeleton)});
    }
    uspoof_close(checker);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
        std::exit(1);
    }
    // Code points without atoms first, so that no other rule builds on them.
    std::stable_partition(rules.begin(), rules.end(), [](const Rule& r) { return r.to.empty(); });
    return rules;
}

Substitutions Solve(const std::vector<Rule>& rules) {
    Substitutions substitutions;
    for (bool changed = true; changed;) {
        changed = false;
        for (const Rule& rule : rules)
            changed |= substitutions.Unify(substitutions.Expand({rule.from}),
                                           substitutions.Expand(rule.to));
    }
    return substitutions;
}

class AtomPool {
public:
    // Entry of a code point: 0 for itself; bit 31 and (length << 24 | offset) for a string of
    // atoms in the pool (length 0: no atoms); otherwise the one atom it stands for.
    std::uint32_t Entry(char32_t c, const Atoms& atoms) {
        if (atoms.size() == 1 && atoms[0] == c)
            return 0;
        if (atoms.size() == 1 && atoms[0] != 0)
            return atoms[0];
        const auto [found, added] = offsets_.try_emplace(atoms, atoms_.size());
        if (added)
            atoms_.insert(atoms_.end(), atoms.begin(), atoms.end());
        if (atoms.size() > 127 || found->second >= (1u << 24)) {
            std::fprintf(stderr, "the loose key's table cannot hold U+%04X\n", unsigned(c));
            std::exit(1);
        }
        return kStringFlag | static_cast<std::uint32_t>(atoms.size()) << 24 |
               static_cast<std::uint32_t>(found->second);
    }
    const std::vector<char32_t>& Atoms() const { return atoms_; }

private:
    static constexpr std::uint32_t kStringFlag = 0x80000000u;
    std::vector<char32_t> atoms_;
    std::map<std::vector<char32_t>, std::size_t> offsets_;
};

void Write(std::FILE* out, const Substitutions& substitutions) {
    AtomPool pool;
    std::vector<std::vector<std::uint32_t>> blocks;
    std::map<std::vector<std::uint32_t>, std::size_t> blockIndex;
    std::vector<std::size_t> blockOf;
    for (char32_t first = 0; first < kCodePoints; first += kBlockSize) {
        std::vector<std::uint32_t> block(kBlockSize);
        for (char32_t c = first; c < first + kBlockSize; ++c)
            if (!IsSurrogate(c))
                block[c - first] = pool.Entry(c, substitutions.Expand({c}));
        const auto [found, added] = blockIndex.try_emplace(block, blocks.size());
        if (added)
            blocks.push_back(block);
        blockOf.push_back(found->second);
    }
    std::fprintf(out, "// Made by LooseKeyTableMaker from ICU %s. Do not edit.\n", U_ICU_VERSION);
    std::fprintf(out, "inline constexpr std::uint16_t kLooseBlockOf[%zu] = {", blockOf.size());
    for (std::size_t i = 0; i < blockOf.size(); ++i)
        std::fprintf(out, "%s%zu,", i % 24 == 0 ? "\n" : "", blockOf[i]);
    std::fprintf(out, "\n};\ninline constexpr std::uint32_t kLooseEntries[%zu][%u] = {\n",
                 blocks.size(), unsigned(kBlockSize));
    for (const auto& block : blocks) {
        std::fprintf(out, "{");
        for (std::size_t i = 0; i < block.size(); ++i)
            std::fprintf(out, "%s%#x,", i % 12 == 0 ? "\n" : "", unsigned(block[i]));
        std::fprintf(out, "},\n");
    }
    const std::vector<char32_t>& atoms = pool.Atoms();
    std::fprintf(out, "};\ninline constexpr char32_t kLooseAtoms[%zu] = {", atoms.size() + 1);
    for (std::size_t i = 0; i < atoms.size(); ++i)
        std::fprintf(out, "%s%#x,", i % 12 == 0 ? "\n" : "", unsigned(atoms[i]));
    std::fprintf(out, "0};\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    const std::vector<Rule> rules = CollectRules();
    const Substitutions substitutions = Solve(rules);
    // Written to a temporary name first, so that a failed run leaves no half table behind.
    const std::string temporary = std::string(argv[1]) + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "w");
    if (out == nullptr) {
        std::perror(temporary.c_str());
        return 1;
    }
    Write(out, substitutions);
    if (std::fclose(out) != 0 || std::rename(temporary.c_str(), argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
