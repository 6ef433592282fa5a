#include "app/WindowCommandLine.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Comparison = WindowCommandLine::Comparison;

std::variant<WindowCommandLine, CommandLineExit> Parse(const QStringList& arguments) {
    return ParseWindowCommandLine(QStringList{u"tarnwick"_s} + arguments);
}

QString Absolute(const QString& path) {
    return QDir::toNativeSeparators(QDir::current().absoluteFilePath(path));
}

} // namespace

TEST(WindowCommandLineTest, FilesGoToTheirSidesAsAbsolutePathsWithTheChosenComparison) {
    const QString elsewhere = QDir::toNativeSeparators(QDir::tempPath() + u"/b.txt"_s);
    struct Case {
        QStringList arguments;
        QStringList files;
        Comparison comparison;
    };
    const Case cases[] = {
        {{}, {}, Comparison::None},
        {{u"a.txt"_s}, {Absolute(u"a.txt"_s)}, Comparison::None},
        {{u"a.txt"_s, elsewhere}, {Absolute(u"a.txt"_s), elsewhere}, Comparison::None},
        {{u"--lines"_s, u"a.txt"_s, u"sub/b.txt"_s},
         {Absolute(u"a.txt"_s), Absolute(u"sub/b.txt"_s)},
         Comparison::Lines},
        {{u"a.txt"_s, u"b.txt"_s, u"--words"_s},
         {Absolute(u"a.txt"_s), Absolute(u"b.txt"_s)},
         Comparison::Words},
        {{u"--lines"_s}, {}, Comparison::Lines},
        {{u"--"_s, u"--lines"_s}, {Absolute(u"--lines"_s)}, Comparison::None},
        {{u""_s}, {u""_s}, Comparison::None},
        // Qt's own start-up options belong to QApplication.
        {{u"-platform"_s, u"offscreen"_s, u"-reverse"_s, u"--style=fusion"_s, u"a.txt"_s},
         {Absolute(u"a.txt"_s)},
         Comparison::None},
    };
    for (const Case& c : cases) {
        const auto parsed = Parse(c.arguments);
        const std::string arguments = c.arguments.join(u' ').toStdString();
        ASSERT_TRUE(std::holds_alternative<WindowCommandLine>(parsed)) << arguments;
        const auto& commandLine = std::get<WindowCommandLine>(parsed);
        EXPECT_EQ(commandLine.files, c.files) << arguments;
        EXPECT_EQ(commandLine.comparison, c.comparison) << arguments;
    }
}

TEST(WindowCommandLineTest, HelpAndVersionEndWellAndBadCommandLinesEndWithOneLine) {
    struct Case {
        QStringList arguments;
        int status;
        QString begins;
    };
    const Case cases[] = {
        {{u"--help"_s}, 0, u"Usage: tarnwick [--lines | --words] [RULES] [FILE1 [FILE2]]\n"_s},
        {{u"-h"_s, u"a.txt"_s}, 0, u"Usage: tarnwick "_s},
        {{u"--version"_s}, 0, u"tarnwick "_s + QStringLiteral(TARNWICK_VERSION)},
        {{u"--linse"_s, u"a.txt"_s}, 2, u"tarnwick: Unknown option 'linse'."_s},
        {{u"--lines"_s, u"--words"_s}, 2, u"tarnwick: --lines and --words cannot"_s},
        {{u"a"_s, u"b"_s, u"c"_s}, 2, u"tarnwick: At most two files"_s},
        {{u"-platform"_s}, 2, u"tarnwick: Missing value after '-platform'."_s},
    };
    for (const Case& c : cases) {
        const auto parsed = Parse(c.arguments);
        const std::string arguments = c.arguments.join(u' ').toStdString();
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(parsed)) << arguments;
        const auto& exit = std::get<CommandLineExit>(parsed);
        EXPECT_EQ(exit.status, c.status) << arguments;
        EXPECT_TRUE(exit.text.startsWith(c.begins)) << arguments << ": " << exit.text.toStdString();
        if (c.status != 0) {
            EXPECT_FALSE(exit.text.contains(u'\n')) << arguments << ": one line";
            EXPECT_TRUE(exit.text.endsWith(u"Try 'tarnwick --help'."_s)) << arguments;
        }
    }
    const QString help = std::get<CommandLineExit>(Parse({u"--help"_s})).text;
    for (const QString& shown : {u"--lines"_s, u"--words"_s, u"--version"_s, u"FILE2"_s})
        EXPECT_TRUE(help.contains(shown)) << shown.toStdString();
    EXPECT_FALSE(help.contains(u"platform"_s)) << "Qt's options are not ours to explain";
}

// The rule options as tarnwick-cli spells them set the rules of the run, in the kinds' order;
// an unknown kind or an expression that cannot be used is a usage error, before any window.
TEST(WindowCommandLineTest, RuleOptionsGiveTheRulesOfTheRun) {
    const struct {
        QStringList arguments;
        std::optional<WindowRules> rules;
    } rows[] = {
        {{u"a.txt"_s}, std::nullopt},
        {{u"-i"_s, u"-Z"_s}, WindowRules{{u"trailing-space"_s, u"case"_s}, std::nullopt, {}}},
        {{u"-b"_s}, WindowRules{{u"trailing-space"_s, u"inner-space"_s}, std::nullopt, {}}},
        {{u"-w"_s, u"--ignore=invisible,case"_s},
         WindowRules{{u"trailing-space"_s, u"leading-space"_s, u"inner-space"_s, u"nbsp"_s,
                      u"zero-width"_s, u"case"_s},
                     std::nullopt,
                     {}}},
        {{u"-I"_s, u"^#"_s, u"--mask"_s, u"\\d+"_s, u"--mask=x"_s, u"a.txt"_s},
         WindowRules{{}, u"^#"_s, {u"\\d+"_s, u"x"_s}}},
    };
    for (const auto& row : rows) {
        const auto parsed = Parse(row.arguments);
        ASSERT_TRUE(std::holds_alternative<WindowCommandLine>(parsed))
            << row.arguments.join(u' ').toStdString();
        EXPECT_EQ(std::get<WindowCommandLine>(parsed).rules, row.rules)
            << row.arguments.join(u' ').toStdString();
    }
    const struct {
        QStringList arguments;
        QString said;
    } refused[] = {
        {{u"--ignore=colour"_s}, u"Unknown kind 'colour'"_s},
        {{u"--mask=\\d{4"_s}, u"The mask \u201C\\d{4\u201D cannot be used: "_s},
        {{u"-I"_s, u"a"_s, u"-I"_s, u"b"_s}, u"-I may be given once"_s},
    };
    for (const auto& row : refused) {
        const auto parsed = Parse(row.arguments);
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(parsed));
        const CommandLineExit& exit = std::get<CommandLineExit>(parsed);
        EXPECT_EQ(exit.status, 2);
        EXPECT_TRUE(exit.text.contains(row.said)) << exit.text.toStdString();
        EXPECT_FALSE(exit.text.contains(u'\n'));
    }
}
