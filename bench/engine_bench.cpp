// Throughput of the comparison engine on large generated texts, without panes, decoding or output.
//
// The texts are made here, from a fixed seed, the way bench/make_inputs.py makes its files: lines
// of about 50 characters of word-like words, a few empty or repeated lines, and a second text
// with about 10% of the lines changed (edited by a word or two, removed, or inserted). They are
// held as a pane holds a loaded file: UTF-16, every line ending in CR LF, one more CR at the end.

#include "MissingPieces.h"
#include "compare/ContentHash.h"
#include "compare/LineIndex.h"
#include "compare/LineSet.h"
#include "compare/LinesUnderRules.h"
#include "compare/LookalikeLines.h"
#include "compare/LookalikeWords.h"
#include "compare/LooseKey.h"
#include "compare/PieceCutter.h"
#include "compare/WordComparison.h"
#include "compare/WordLookalikeCount.h"
#include "compare/WordPass.h"
#include "compare/WordsUnderRules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// SplitMix64: tiny, and gives the same numbers with every compiler and standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    std::size_t Below(std::size_t n) {
        return static_cast<std::size_t>(Unit() * static_cast<double>(n));
    }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& items) {
        return items[Below(N)];
    }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 28> kOnsets{
    "b", "c", "d",  "f",  "g",  "h",  "k",  "l",  "m",  "n",  "p",  "r",  "s",  "t",
    "v", "w", "br", "ch", "cl", "dr", "fl", "gr", "pl", "pr", "sh", "st", "th", "tr"};
constexpr std::array<std::string_view, 9> kVowels{"a", "e", "i", "o", "u", "ai", "ea", "ee", "ou"};
constexpr std::array<std::string_view, 11> kCodas{"",  "",  "",   "n",  "r", "s",
                                                  "t", "l", "nd", "st", "ng"};
constexpr std::array<std::string_view, 25> kCommon{
    "the", "of", "and", "to", "a",    "in",   "is", "it",  "that", "for", "on",   "was",  "with",
    "as",  "be", "at",  "by", "this", "from", "or", "not", "are",  "but", "have", "which"};

class LineWriter {
public:
    explicit LineWriter(Random& random) : random_(random) {
        std::set<std::string> words;
        while (words.size() < 4000) {
            std::string word;
            for (std::size_t syllables = 1 + random_.Below(3); syllables > 0; --syllables)
                word.append(random_.Pick(kOnsets))
                    .append(random_.Pick(kVowels))
                    .append(random_.Pick(kCodas));
            words.insert(std::move(word));
        }
        vocabulary_.assign(words.begin(), words.end());
    }

    std::string Word() {
        if (random_.Unit() < 0.3)
            return std::string(random_.Pick(kCommon));
        const double skewed = random_.Unit() * random_.Unit(); // common words more often
        std::string word =
            vocabulary_[static_cast<std::size_t>(skewed * static_cast<double>(vocabulary_.size()))];
        const double roll = random_.Unit();
        if (roll < 0.05)
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        else if (roll < 0.09)
            word.push_back(',');
        return word;
    }

    std::string Line() {
        const std::size_t target = 28 + random_.Below(39);
        std::string line = Word();
        while (line.size() < target)
            line.append(" ").append(Word());
        return line;
    }

    // The line with a word or two replaced, inserted or removed.
    std::string Edited(const std::string& line) {
        std::vector<std::string> words;
        for (std::size_t start = 0;;) {
            const std::size_t blank = line.find(' ', start);
            words.push_back(line.substr(start, blank - start));
            if (blank == std::string::npos)
                break;
            start = blank + 1;
        }
        for (std::size_t edits = 1 + random_.Below(2); edits > 0; --edits) {
            const std::size_t at = random_.Below(words.size());
            const double roll = random_.Unit();
            if (roll < 0.6 || words.size() < 3)
                words[at] = Word();
            else if (roll < 0.8)
                words.insert(words.begin() + static_cast<std::ptrdiff_t>(at), Word());
            else
                words.erase(words.begin() + static_cast<std::ptrdiff_t>(at));
        }
        std::string edited;
        for (const std::string& word : words)
            edited.append(edited.empty() ? "" : " ").append(word);
        return edited == line ? edited + " " + Word() : edited;
    }

private:
    Random& random_;
    std::vector<std::string> vocabulary_;
};

// Two lists of lines: the first, and the first with about 10% of its lines changed.
std::pair<std::vector<std::string>, std::vector<std::string>> MakeLines(std::size_t count) {
    Random random(0x7A31'0831'0000'0000ull + count);
    LineWriter writer(random);
    std::vector<std::string> first;
    first.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double roll = random.Unit();
        if (roll < 0.01)
            first.emplace_back();
        else if (roll < 0.04 && !first.empty())
            first.push_back(
                first[first.size() - 1 - random.Below(std::min<std::size_t>(first.size(), 1000))]);
        else
            first.push_back(writer.Line());
    }
    std::vector<std::string> second;
    second.reserve(count + count / 10);
    for (const std::string& line : first) {
        const double roll = random.Unit();
        if (roll < 0.05) {
            second.push_back(writer.Edited(line));
        } else if (roll < 0.075) {
            // removed
        } else if (roll < 0.10) {
            second.push_back(line);
            second.push_back(writer.Line()); // inserted
        } else {
            second.push_back(line);
        }
    }
    return {std::move(first), std::move(second)};
}

// The lines as a loaded pane holds them: CR LF after each line, then the CR the loading appends.
std::u16string PaneText(const std::vector<std::string>& lines) {
    std::u16string text;
    std::size_t size = 1;
    for (const std::string& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const std::string& line : lines) {
        text.append(line.begin(), line.end()); // ASCII, so each byte is one UTF-16 unit
        text.append(u"\r\n");
    }
    text.push_back(u'\r');
    return text;
}

struct TextPair {
    std::u16string first;
    std::u16string second;
    std::size_t firstLines = 0;
    std::size_t secondLines = 0;
};

// Made once per size and kept for every benchmark that asks for it.
const TextPair& Texts(std::size_t lineCount) {
    static std::map<std::size_t, TextPair> made;
    auto found = made.find(lineCount);
    if (found == made.end()) {
        auto [first, second] = MakeLines(lineCount);
        TextPair pair{PaneText(first), PaneText(second), first.size(), second.size()};
        found = made.emplace(lineCount, std::move(pair)).first;
    }
    return found->second;
}

std::int64_t Bytes(std::u16string_view text) {
    return static_cast<std::int64_t>(text.size() * sizeof(char16_t));
}

// Cutting one text at CR, hashing every line and building its membership table.
void BM_LineIndexBuild(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    std::size_t distinct = 0;
    std::size_t indexBytes = 0;
    for (auto _ : state) {
        const compare::LineIndex set(texts.second);
        distinct = set.DistinctCount();
        indexBytes = set.MemoryBytes();
        benchmark::DoNotOptimize(distinct);
    }
    state.SetBytesProcessed(state.iterations() * Bytes(texts.second));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.secondLines));
    state.counters["distinct"] = static_cast<double>(distinct);
    state.counters["index_bytes"] = static_cast<double>(indexBytes);
}

// One direction of the line comparison as the window and the tool run it: both texts indexed, then
// every line of the first looked up in the second's index. Items and bytes count both texts, as
// both are read.
void BM_FindMissingPieces(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    std::size_t missing = 0;
    for (auto _ : state) {
        const std::vector<compare::Piece> pieces = MissingPieces(texts.first, texts.second);
        missing = pieces.size();
        benchmark::DoNotOptimize(pieces.data());
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(texts.first) + Bytes(texts.second)));
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(texts.firstLines + texts.secondLines));
    state.counters["missing"] = static_cast<double>(missing);
}

// The distinct lines of one text as the command-line tool keeps them when it cannot hold the
// texts: each piece cut, hashed and added.
void BM_LineSetBuild(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    std::size_t distinct = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        compare::LineSet set;
        compare::PieceCutter cutter;
        const auto add = [&](std::u16string_view piece, compare::Piece, bool) {
            const std::u16string_view content = compare::LineContent(piece);
            set.Add(content, compare::ContentHash(content));
        };
        cutter.Add(texts.second, add);
        cutter.End(add);
        distinct = set.Count();
        bytes = set.MemoryBytes();
        benchmark::DoNotOptimize(distinct);
    }
    state.SetBytesProcessed(state.iterations() * Bytes(texts.second));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.secondLines));
    state.counters["distinct"] = static_cast<double>(distinct);
    state.counters["set_bytes"] = static_cast<double>(bytes);
}

// One direction of the word comparison as the program runs it: each unmatched word is handed to
// the caller, which here only counts them and sums their lengths.
void BM_WordPass(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    std::size_t unmatched = 0;
    for (auto _ : state) {
        std::size_t count = 0;
        std::size_t units = 0;
        compare::ForEachUnmatchedWord(
            texts.first, texts.second,
            [&](std::size_t, std::size_t length) {
                ++count;
                units += length;
            },
            [](std::size_t) { return true; });
        unmatched = count;
        benchmark::DoNotOptimize(units);
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(texts.first) + Bytes(texts.second)));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.firstLines));
    state.counters["unmatched"] = static_cast<double>(unmatched);
}

// The second text with look-alikes of lines of the first instead of copies of them: every
// twentieth line gains a trailing blank, a capital, a no-break space or a zero-width space.
const std::u16string& SecondWithLookalikes(std::size_t lineCount) {
    static std::map<std::size_t, std::u16string> made;
    auto found = made.find(lineCount);
    if (found == made.end()) {
        std::u16string text = Texts(lineCount).second;
        std::size_t line = 0;
        for (std::size_t start = 0; start < text.size(); ++line) {
            const std::size_t cr = std::min(text.find(u'\r', start), text.size());
            const std::size_t from =
                start < text.size() && text[start] == u'\n' ? start + 1 : start;
            if (line % 20 == 7 && cr > from) {
                switch (line / 20 % 4) {
                case 0:
                    text.insert(cr, 1, u' ');
                    break;
                case 1:
                    text[from] = static_cast<char16_t>(text[from] & ~0x20);
                    break;
                case 2:
                    if (const std::size_t blank = text.find(u' ', from); blank < cr)
                        text[blank] = u'\u00A0';
                    break;
                default:
                    text.insert(from + 1, 1, u'\u200B');
                }
            }
            start = std::min(text.find(u'\r', start), text.size()) + 1;
        }
        found = made.emplace(lineCount, std::move(text)).first;
    }
    return found->second;
}

// What a look-alike search adds to a line comparison of both directions: the red lines of each
// direction keyed, then every line of the first text sieved by its key sum and the few that pass
// looked up among them, on two threads. The comparison's own indexes and red lines are made
// beforehand, as the comparison has them. The CPU time is that of the whole process, both threads.
void LookalikeLines(benchmark::State& state, const std::u16string& first,
                    const std::u16string& second) {
    const compare::LineIndex firstLines(first);
    const compare::LineIndex secondLines(second);
    const std::vector<compare::Piece> red1 = MissingPieces(first, second);
    const std::vector<compare::Piece> red2 = MissingPieces(second, first);
    std::size_t found = 0;
    for (auto _ : state) {
        const compare::LookalikeLinesOfBoth both =
            compare::FindLookalikeLinesOfBoth(firstLines, red1, secondLines, red2);
        found = 0;
        for (const auto* side : {&both.ofFirst, &both.ofSecond})
            for (const auto& lookalike : *side)
                found += lookalike.has_value();
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(first) + Bytes(second)));
    state.SetItemsProcessed(
        state.iterations() *
        static_cast<std::int64_t>(firstLines.PieceCount() + secondLines.PieceCount()));
    state.counters["red"] = static_cast<double>(red1.size() + red2.size());
    state.counters["found"] = static_cast<double>(found);
}

void BM_LookalikeLines(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    LookalikeLines(state, texts.first, texts.second);
}

// The same where one line in twenty has a look-alike: each of those is explained by ICU.
void BM_LookalikeLinesMany(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    LookalikeLines(state, Texts(lines).first, SecondWithLookalikes(lines));
}

// Rows of 24 fields of 0 or 1, all different, half of them in both texts: "1" and "," leave no
// trace in a loose key and "0" only its class, so every row with as many zeros shares one key,
// thousands of red lines to a key, and none is a look-alike of another.
std::u16string CrowdedRows(std::size_t first, std::size_t count) {
    std::u16string text;
    for (std::size_t row = first; row < first + count; ++row) {
        // An odd multiplier spreads the rows over all 2^24 patterns, each row its own.
        const std::uint32_t bits = static_cast<std::uint32_t>(row * 0x9E3779B1u) & 0xFFFFFFu;
        for (int field = 0; field < 24; ++field)
            text.append(field == 0 ? u"" : u",").push_back(bits >> field & 1 ? u'1' : u'0');
        text += u"\r\n";
    }
    return text;
}

void BM_LookalikeLinesCrowded(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    LookalikeLines(state, CrowdedRows(0, lines), CrowdedRows(lines / 2, lines));
}

// Working out the key sum of every line of one text on one thread: the bulk of a look-alike
// search of lines, which sieves every line of the first text by it.
void BM_LooseKeySums(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    const compare::LineIndex lines(texts.second);
    for (auto _ : state) {
        std::uint64_t sums = 0;
        for (std::size_t piece = 0; piece < lines.PieceCount(); ++piece) {
            const compare::Piece cut = lines.PieceAt(piece);
            sums += compare::LooseKeySum(
                compare::LineContent(lines.Text().substr(cut.start, cut.length)));
        }
        benchmark::DoNotOptimize(sums);
    }
    state.SetBytesProcessed(state.iterations() * Bytes(texts.second));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.secondLines));
}

// Where the red words of one direction of the word comparison begin.
std::vector<compare::RedWordStart> RedWordStarts(std::u16string_view own,
                                                 std::u16string_view other) {
    std::vector<compare::RedWordStart> red;
    compare::ForEachUnmatchedWord(
        own, other,
        [&](std::size_t start, std::size_t) {
            red.push_back(static_cast<compare::RedWordStart>(start));
        },
        [](std::size_t) { return true; });
    return red;
}

// Counting the look-alikes among the red words of one direction of the word comparison, as the
// window does after a comparison, from the two texts and the list of red words alone. The red
// words are found beforehand. The CPU time is that of the whole process: large texts are counted
// in two halves side by side.
void WordLookalikeCount(benchmark::State& state, const std::u16string& first,
                        const std::u16string& second) {
    const std::vector<compare::RedWordStart> red = RedWordStarts(first, second);
    std::size_t found = 0;
    for (auto _ : state) {
        found = compare::CountWordLookalikes(first, second, red, [](std::size_t) {
                    return true;
                }).value_or(0);
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(first) + Bytes(second)));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(red.size()));
    state.counters["red"] = static_cast<double>(red.size());
    state.counters["found"] = static_cast<double>(found);
}

void BM_WordLookalikeCount(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    WordLookalikeCount(state, texts.first, texts.second);
}

// The same where one line in twenty of the second text has a look-alike.
void BM_WordLookalikeCountMany(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    WordLookalikeCount(state, Texts(lines).first, SecondWithLookalikes(lines));
}

// The tooltip's question about the last red word of the text: the word's line and its partner
// found by scanning both texts for CR LF, then only those two lines cut into words.
void BM_FindLookalikeWordAtTheEnd(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    const std::u16string& first = Texts(lines).first;
    const std::u16string& second = SecondWithLookalikes(lines);
    const std::size_t last = RedWordStarts(first, second).back();
    for (auto _ : state)
        benchmark::DoNotOptimize(compare::FindLookalikeWordAt(first, last, second));
    state.SetBytesProcessed(state.iterations() * (Bytes(first) + Bytes(second)));
}

// The same question about a red word in the middle of a text of one line: the lines of the texts
// joined by blanks (5 MB and 50 MB of words), the second with about 10% of its words changed.
void BM_FindLookalikeWordOnOneLine(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    const auto [firstLines, secondLines] = MakeLines(lines);
    const auto oneLine = [](const std::vector<std::string>& cut) {
        std::u16string text;
        for (const std::string& line : cut) {
            text.append(line.begin(), line.end());
            text.push_back(u' ');
        }
        text.push_back(u'\r');
        return text;
    };
    const std::u16string first = oneLine(firstLines);
    const std::u16string second = oneLine(secondLines);
    const std::vector<compare::RedWordStart> red = RedWordStarts(first, second);
    const std::size_t middle = red[red.size() / 2];
    for (auto _ : state)
        benchmark::DoNotOptimize(compare::FindLookalikeWordAt(first, middle, second));
    state.SetBytesProcessed(state.iterations() * (Bytes(first) + Bytes(second)));
    state.counters["red"] = static_cast<double>(red.size());
}

// The rules of the bench's cases: case and the three space kinds (the tool's -w -i), or one mask
// of digits.
compare::ComparisonRules CaseAndSpaces() {
    using compare::LookalikeKind;
    return compare::ComparisonRules(compare::RuleChoice{compare::LookalikeKinds(LookalikeKind::Case)
                                                            .With(LookalikeKind::TrailingSpace)
                                                            .With(LookalikeKind::LeadingSpace)
                                                            .With(LookalikeKind::InnerSpace),
                                                        std::nullopt,
                                                        {}});
}

compare::ComparisonRules DigitsMasked() {
    return compare::ComparisonRules(compare::RuleChoice{{}, std::nullopt, {u"[0-9]+"}});
}

// Both directions of the line comparison under rules, from two indexed texts: what each lacks as
// it stands, sorted out by the rules (arg 1: the mask, else -w -i). Beside BM_FindMissingPieces,
// which does one direction of the plain part.
void BM_LinesUnderRules(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    const compare::ComparisonRules rules = state.range(1) == 1 ? DigitsMasked() : CaseAndSpaces();
    const compare::LineIndex first(texts.first), second(texts.second);
    std::size_t red = 0;
    for (auto _ : state) {
        const auto found = compare::CompareLinesUnderRules(first, second, rules);
        red = found[0].Red().size() + found[1].Red().size();
        benchmark::DoNotOptimize(red);
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(texts.first) + Bytes(texts.second)));
    state.SetItemsProcessed(state.iterations() *
                            static_cast<std::int64_t>(texts.firstLines + texts.secondLines));
    state.counters["red"] = static_cast<double>(red);
}

// One direction of the word comparison under -w -i, as BM_WordPass without rules.
void BM_WordPassUnderRules(benchmark::State& state) {
    const TextPair& texts = Texts(static_cast<std::size_t>(state.range(0)));
    const compare::ComparisonRules rules = CaseAndSpaces();
    std::size_t unmatched = 0;
    std::size_t matched = 0;
    for (auto _ : state) {
        std::size_t count = 0;
        std::size_t byRule = 0;
        compare::ForEachWordUnderRules(
            texts.first, texts.second, rules, [&](std::size_t, std::size_t) { ++count; },
            [&](const compare::RuleMatch&) { ++byRule; }, [](std::size_t) { return true; });
        unmatched = count;
        matched = byRule;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * (Bytes(texts.first) + Bytes(texts.second)));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.firstLines));
    state.counters["unmatched"] = static_cast<double>(unmatched);
    state.counters["matched"] = static_cast<double>(matched);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_LineIndexBuild)->Apply(Sizes);
BENCHMARK(BM_FindMissingPieces)->Apply(Sizes);
BENCHMARK(BM_LooseKeySums)->Apply(Sizes);
BENCHMARK(BM_LookalikeLines)->Apply(Sizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_LookalikeLinesMany)->Apply(Sizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_LookalikeLinesCrowded)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_WordLookalikeCount)->Apply(Sizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_WordLookalikeCountMany)->Apply(Sizes)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_FindLookalikeWordAtTheEnd)->Apply(Sizes);
BENCHMARK(BM_FindLookalikeWordOnOneLine)->Apply(Sizes);
BENCHMARK(BM_LineSetBuild)->Apply(Sizes);
BENCHMARK(BM_WordPass)->Apply(Sizes);
BENCHMARK(BM_LinesUnderRules)
    ->Args({100'000, 0})
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_WordPassUnderRules)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
