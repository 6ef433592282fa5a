// The rules as tarnwick-cli takes them: the options and their diff-like short forms, what a
// report adds under them, the same report whichever way the texts are compared, and expressions
// that cannot be used refused before any work.
#include "FileIn.h"
#include "ToolRun.h"
#include "cli/CliOptions.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <random>

using namespace Qt::StringLiterals;
using compare::LookalikeKind;
using compare::LookalikeKinds;

namespace {

using Mode = CliOptions::Mode;

LookalikeKinds Kinds(std::initializer_list<LookalikeKind> list) {
    LookalikeKinds kinds;
    for (const LookalikeKind kind : list)
        kinds = kinds.With(kind);
    return kinds;
}

std::variant<CliOptions, CliExit> Parse(QStringList arguments) {
    arguments.prepend(u"tarnwick-cli"_s);
    arguments.append({u"lines"_s, u"a.txt"_s, u"b.txt"_s});
    return ParseCliArguments(arguments);
}

class CliRulesTest : public ::testing::Test {
protected:
    void Files(const QByteArray& a, const QByteArray& b) {
        WriteFileIn(dir_, u"a.txt"_s, a);
        WriteFileIn(dir_, u"b.txt"_s, b);
    }
    // The report of the options given (a mode among them), with the two files.
    std::string Run(QStringList arguments, int* status = nullptr,
                    std::optional<qint64> memory = std::nullopt) {
        arguments.prepend(u"tarnwick-cli"_s);
        arguments.append({dir_.filePath(u"a.txt"_s), dir_.filePath(u"b.txt"_s)});
        auto parsed = ParseCliArguments(arguments);
        if (const auto* exit = std::get_if<CliExit>(&parsed)) {
            ADD_FAILURE() << exit->text.toStdString();
            return {};
        }
        CliOptions& options = std::get<CliOptions>(parsed);
        options.memoryBytes = memory;
        int ended = -1;
        const QByteArray output = RunTool(options, ended);
        if (status)
            *status = ended;
        return output.toStdString();
    }

    QTemporaryDir dir_;
};

} // namespace

TEST(CliRuleOptionsTest, ShortFormsStandForTheKindsDiffUsersKnow) {
    using K = LookalikeKind;
    const LookalikeKinds spaces = Kinds({K::TrailingSpace, K::LeadingSpace, K::InnerSpace});
    const struct {
        QStringList arguments;
        LookalikeKinds kinds;
    } rows[] = {
        {{}, {}},
        {{u"-i"_s}, K::Case},
        {{u"-Z"_s}, K::TrailingSpace},
        {{u"-b"_s}, Kinds({K::TrailingSpace, K::InnerSpace})},
        {{u"-w"_s}, spaces},
        {{u"-wi"_s}, spaces.With(K::Case)},
        {{u"-b"_s, u"-Z"_s}, Kinds({K::TrailingSpace, K::InnerSpace})},
        {{u"--ignore=all-space"_s}, spaces},
        {{u"--ignore=invisible"_s}, Kinds({K::Nbsp, K::ZeroWidth})},
        {{u"--ignore=case,confusable"_s, u"--ignore"_s, u"unicode-form"_s},
         Kinds({K::Case, K::Confusable, K::UnicodeForm})},
        {{u"--ignore=trailing-space,leading-space,inner-space,nbsp,zero-width,case,unicode-form,"
          u"compatibility,confusable"_s},
         LookalikeKinds::FromBits(0x1FF)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const auto parsed = Parse(row.arguments);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
        const compare::RuleChoice& choice = std::get<CliOptions>(parsed).rules.Choice();
        EXPECT_EQ(choice.kinds, row.kinds);
        EXPECT_FALSE(choice.ignoreMatching);
        EXPECT_TRUE(choice.masks.empty());
        // The files stay the files, whatever stands between the options.
        EXPECT_EQ(std::get<CliOptions>(parsed).file1, "a.txt");
    }
}

TEST(CliRuleOptionsTest, ExpressionsTakeTheirValueFromEitherPlace) {
    const struct {
        QStringList arguments;
        std::optional<std::u16string> ignoreMatching;
        std::vector<std::u16string> masks;
    } rows[] = {
        {{u"-I"_s, u"^#"_s}, u"^#", {}},
        {{u"-I^#"_s}, u"^#", {}},
        {{u"-wI"_s, u"^#"_s}, u"^#", {}},
        {{u"--ignore-matching-lines=^#"_s}, u"^#", {}},
        {{u"--ignore-matching-lines"_s, u"lines"_s}, u"lines", {}},
        {{u"-I"_s, u""_s}, u"", {}},
        {{u"--mask=\\d+"_s, u"--mask"_s, u"[a-f]+"_s}, std::nullopt, {u"\\d+", u"[a-f]+"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const auto parsed = Parse(row.arguments);
        ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed))
            << std::get<CliExit>(parsed).text.toStdString();
        const CliOptions& options = std::get<CliOptions>(parsed);
        EXPECT_EQ(options.rules.Choice().ignoreMatching, row.ignoreMatching);
        EXPECT_EQ(options.rules.Choice().masks, row.masks);
        EXPECT_EQ(options.mode, Mode::Lines);
        EXPECT_EQ(options.file1, "a.txt");
        EXPECT_EQ(options.file2, "b.txt");
    }
}

// Exit status 2 and one line that names the expression and what is wrong with it, before any
// file is read (the files named here do not exist).
TEST(CliRuleOptionsTest, AnExpressionThatCannotBeUsedIsRefusedUpFront) {
    const struct {
        QStringList arguments;
        std::string said;
    } rows[] = {
        {{u"--mask=\\d{4"_s},
         "--mask '\\d{4': a {min,max} repetition is malformed, at character 5"},
        {{u"-I"_s, u"a("_s}, "-I 'a(': parentheses do not pair up, at character 3"},
        {{u"--mask=ok"_s, u"--mask=[z-a]"_s},
         "--mask '[z-a]': in a range [x-y] x comes after y, at character 5"},
        {{u"--mask=a**"_s}, "--mask 'a**': syntax error, at character 4"},
        {{u"--mask=\\p{Foo}"_s}, "--mask '\\p{Foo}': unknown or malformed Unicode property"},
        {{u"-I"_s, u"(?<=a+)b"_s}, "-I '(?<=a+)b': a look-behind must have a bounded length"},
        {{u"--ignore=case,tabs"_s}, "Unknown kind 'tabs' for --ignore"},
        {{u"-I"_s, u"a"_s, u"-I"_s, u"b"_s}, "-I (--ignore-matching-lines) may be given once"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const auto parsed = Parse(row.arguments);
        ASSERT_TRUE(std::holds_alternative<CliExit>(parsed));
        const CliExit& exit = std::get<CliExit>(parsed);
        EXPECT_EQ(exit.status, 2);
        EXPECT_TRUE(exit.text.toStdString().starts_with(row.said)) << exit.text.toStdString();
        EXPECT_FALSE(exit.text.contains(u'\n'));
    }
}

TEST_F(CliRulesTest, ReadableReportAddsWhatOnlyTheRulesMatchedWithExplain) {
    Files("Alpha\nbeta \n2026-12-07 10:00:01 started\n# note\nreal change\n",
          "alpha\nbeta\n2026-12-08 11:15:40 started\nreal chance\n");
    const QString mask = u"--mask=\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"_s;
    int status = -1;
    EXPECT_EQ(Run({u"-wi"_s, u"-I"_s, u"^#"_s, mask, u"--explain"_s, u"lines"_s}, &status),
              "--- a.txt: 1 line not in b.txt\n"
              "< real change\n"
              "--- a.txt: 4 lines match lines of b.txt only by the rules\n"
              "= Alpha\n    matches line 1 of b.txt by: case\n"
              "= beta \n    matches line 2 of b.txt by: trailing-space\n"
              "= 2026-12-07 10:00:01 started\n    matches line 3 of b.txt by: mask\n"
              "= # note\n    ignored by: ignore-matching\n"
              "--- b.txt: 1 line not in a.txt\n"
              "> real chance\n"
              "--- b.txt: 3 lines match lines of a.txt only by the rules\n"
              "= alpha\n    matches line 1 of a.txt by: case\n"
              "= beta\n    matches line 2 of a.txt by: trailing-space\n"
              "= 2026-12-08 11:15:40 started\n    matches line 3 of a.txt by: mask\n");
    EXPECT_EQ(status, 1);
    // Without --explain the report is the differences alone.
    EXPECT_EQ(Run({u"-wi"_s, u"-I"_s, u"^#"_s, mask, u"lines"_s}),
              "--- a.txt: 1 line not in b.txt\n< real change\n"
              "--- b.txt: 1 line not in a.txt\n> real chance\n");
    // Words: a word is matched by the word of its partner line it was matched to.
    // The last line of a.txt is paired with the last of b.txt, as far as that one reaches.
    EXPECT_EQ(Run({u"-i"_s, u"--explain"_s, u"words"_s}),
              "--- a.txt: 7 words not supplied by the lines of b.txt\n"
              "< \n< 2026-12-07\n< 10:00:01\n< started\n< #\n< note\n< change\n"
              "--- a.txt: 1 word matches words of b.txt only by the rules\n"
              "= Alpha\n    matches line 1 of b.txt by: case\n"
              "--- b.txt: 5 words not supplied by the lines of a.txt\n"
              "> 2026-12-08\n> 11:15:40\n> started\n> real\n> chance\n"
              "--- b.txt: 1 word matches words of a.txt only by the rules\n"
              "= alpha\n    matches line 1 of a.txt by: case\n");
}

TEST_F(CliRulesTest, JsonListsWhatOnlyTheRulesMatchedAsMarksWouldCoverIt) {
    Files("Alpha\n# note\nsame\n", "x\nalpha\nsame\n");
    const QJsonObject report =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(Run({u"-i"_s, u"-I#"_s, u"--json"_s, u"lines"_s})))
            .object();
    const QJsonArray first = report[u"file1"_s][u"matched_by_rule"_s].toArray();
    ASSERT_EQ(first.size(), 2);
    // "Alpha" and its CR at 0; in b.txt the LF before "alpha", "alpha" and its CR at 2, as the
    // line's red mark would cover it.
    EXPECT_EQ(first[0].toObject(), (QJsonObject{{u"start"_s, 0},
                                                {u"length"_s, 6},
                                                {u"other_start"_s, 2},
                                                {u"other_length"_s, 7},
                                                {u"rules"_s, QJsonArray{u"case"_s}}}));
    EXPECT_EQ(first[1].toObject(), (QJsonObject{{u"start"_s, 6},
                                                {u"length"_s, 8},
                                                {u"other_start"_s, QJsonValue::Null},
                                                {u"other_length"_s, QJsonValue::Null},
                                                {u"rules"_s, QJsonArray{u"ignore-matching"_s}}}));
    EXPECT_EQ(report[u"file1"_s][u"result"_s].toString(), u""_s);
    EXPECT_EQ(report[u"file2"_s][u"result"_s].toString(), u"x\r"_s);
    EXPECT_EQ(report[u"file2"_s][u"matched_by_rule"_s].toArray().size(), 1);
}

// Expressions that match nothing, everything, or only an empty string, and a pair that differs by
// one more visible letter, which stays a difference under every rule.
TEST_F(CliRulesTest, ExpressionsThatMatchNothingEverythingOrNothingVisible) {
    Files("ab\nAB \nx1\n", "ab\nab\nx2\n");
    const std::string plain = Run({u"lines"_s});
    const struct {
        QStringList arguments;
        std::string report;
    } rows[] = {
        {{u"-I"_s, u"(?!)"_s}, plain},
        {{u"--mask=(?!)"_s}, plain},
        {{u"--mask=q*"_s}, plain}, // an empty match at every place, alike on both sides
        {{u"-I"_s, u""_s}, "--- a.txt: 0 lines not in b.txt\n--- b.txt: 0 lines not in a.txt\n"},
        {{u"--mask=.*"_s}, "--- a.txt: 0 lines not in b.txt\n--- b.txt: 0 lines not in a.txt\n"},
        {{u"--mask=\\d"_s},
         "--- a.txt: 1 line not in b.txt\n< AB \n--- b.txt: 0 lines not in a.txt\n"},
        {{u"--ignore=trailing-space,leading-space,inner-space,nbsp,zero-width,case,unicode-form,"
          u"compatibility,confusable"_s},
         "--- a.txt: 1 line not in b.txt\n< x1\n--- b.txt: 1 line not in a.txt\n> x2\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        QStringList arguments = row.arguments;
        arguments.append(u"lines"_s);
        EXPECT_EQ(Run(arguments), row.report);
    }
}

namespace {

QByteArray RandomFile(std::mt19937& random) {
    static const char* const pieces[] = {
        "a",   "A",         "b",  " ",        "  ", "\t",           "\n", "\n",
        "\n",  "\r\n",      "\r", "\xC3\xA9", "1",  "22",           "#",  "\xC2\xA0",
        "x y", "e\xCC\x81", "fi", "0",        "O",  "\xE2\x80\x8B", "rn", "m"};
    QByteArray bytes;
    for (int i = static_cast<int>(random() % 60); i > 0; --i)
        bytes.append(pieces[random() % std::size(pieces)]);
    return bytes;
}

QStringList RandomRules(std::mt19937& random) {
    static const char* const kinds[] = {"trailing-space", "leading-space", "inner-space",
                                        "nbsp",           "zero-width",    "case",
                                        "unicode-form",   "compatibility", "confusable"};
    QStringList arguments;
    for (const char* kind : kinds)
        if (random() % 3 == 0)
            arguments.append(u"--ignore="_s + QString::fromLatin1(kind));
    if (random() % 3 == 0)
        arguments.append({u"-I"_s, u"^#"_s});
    if (random() % 3 == 0)
        arguments.append(u"--mask=\\d+"_s);
    if (random() % 5 == 0)
        arguments.append(u"--mask=b"_s);
    return arguments;
}

} // namespace

// -q and --count answer by the rules; --counts, which counts lines as they stand, is refused
// beside them.
TEST_F(CliRulesTest, TheAnswerAloneFollowsTheRules) {
    Files("Alpha\nbeta  gamma\n", "alpha\nBeta gamma\n");
    for (const qint64 memory : {qint64{1} << 32, qint64{0}}) {
        for (const QString& mode : {u"lines"_s, u"words"_s}) {
            SCOPED_TRACE(mode.toStdString() + (memory ? " held" : " in passes"));
            int status = -1;
            EXPECT_EQ(Run({u"-q"_s, mode}, &status, memory), "");
            EXPECT_EQ(status, 1);
            EXPECT_EQ(Run({u"-q"_s, u"-i"_s, u"-b"_s, mode}, &status, memory), "");
            EXPECT_EQ(status, 0);
            // The double blank leaves an empty word that case alone does not match.
            EXPECT_EQ(Run({u"--count"_s, u"-i"_s, mode}, &status, memory),
                      mode == u"lines" ? "1 a.txt\n1 b.txt\n" : "1 a.txt\n0 b.txt\n");
            EXPECT_EQ(Run({u"--count"_s, u"-bi"_s, mode}, &status, memory), "0 a.txt\n0 b.txt\n");
        }
    }
    const auto refused = Parse({u"--counts"_s, u"-i"_s});
    ASSERT_TRUE(std::holds_alternative<CliExit>(refused));
    EXPECT_EQ(std::get<CliExit>(refused).status, 2);
}

// With both texts held, and read again for each pass with next to no room to keep report bytes
// in (every pass then runs twice), the report is the same byte for byte.
TEST_F(CliRulesTest, HeldAndReadInPassesGiveTheSameReport) {
    std::mt19937 random(43);
    for (int round = 0; round < 120; ++round) {
        Files(RandomFile(random), round % 9 == 0 ? QByteArray() : RandomFile(random));
        QStringList arguments = RandomRules(random);
        if (random() % 2 == 0)
            arguments.append(u"--json"_s);
        if (random() % 2 == 0)
            arguments.append(u"--explain"_s);
        // The entries' lines, or the answer alone, come from either way too.
        const QString form = std::array{u""_s, u"-n"_s, u"--count"_s, u"-q"_s}[random() % 4];
        if (!form.isEmpty() && (form == u"-n" || !arguments.contains(u"--json"_s)))
            arguments.append(form);
        for (const QString& mode : {u"lines"_s, u"words"_s}) {
            QStringList withMode = arguments;
            withMode.append(mode);
            SCOPED_TRACE(testing::Message()
                         << "round " << round << ": " << withMode.join(u' ').toStdString());
            int heldStatus = -1, passesStatus = -1;
            const std::string held = Run(withMode, &heldStatus, qint64{1} << 32);
            // In passes look-alikes are not looked for: compared without them.
            const std::string passes = Run(withMode, &passesStatus, 0);
            if (!withMode.contains(u"--explain"_s)) {
                ASSERT_EQ(passes, held);
            } else if (withMode.contains(u"--json"_s)) {
                const auto withoutLookalikes = [](const std::string& report) {
                    QJsonObject object =
                        QJsonDocument::fromJson(QByteArray::fromStdString(report)).object();
                    for (const QString& side : {u"file1"_s, u"file2"_s}) {
                        QJsonObject file = object[side].toObject();
                        file.remove(u"lookalikes"_s);
                        object[side] = file;
                    }
                    return QJsonDocument(object).toJson().toStdString();
                };
                ASSERT_EQ(withoutLookalikes(passes), withoutLookalikes(held));
            } else {
                std::string withoutLookalikes = held;
                for (std::size_t at;
                     (at = withoutLookalikes.find("    looks like")) != withoutLookalikes.npos;)
                    withoutLookalikes.erase(at, withoutLookalikes.find('\n', at) + 1 - at);
                ASSERT_EQ(passes, withoutLookalikes);
            }
            ASSERT_EQ(passesStatus, heldStatus);
        }
    }
}
