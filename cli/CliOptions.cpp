#include "cli/CliOptions.h"

#include "compare/LookalikeKinds.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <unistd.h>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTroubleStatus = 2;

const QString kDescription = uR"(Compares two text files the way the Tarnwick window does.

  lines  every line of one file that occurs nowhere in the other
  words  the words of each line that the line at the same place in the
         other file does not supply

Both directions are computed. Either file may be - for standard input.
Exit status: 0 when neither file has a difference, 1 when there are
differences, 2 on trouble.)"_s;

CliExit UsageError(const QString& error) {
    return CliExit{error + u" Try 'tarnwick-cli --help'."_s, kTroubleStatus};
}

// The options that take a value, which may stand in the next argument.
constexpr std::array<QByteArrayView, 4> kLongWithValue{"ignore", "ignore-matching-lines", "mask",
                                                       "memory"};
constexpr char kShortWithValue = 'I';

// Whether `argument`, an option, leaves its value to the next argument.
bool ValueFollows(const QByteArray& argument) {
    if (argument.startsWith("--"))
        return !argument.contains('=') &&
               std::find(kLongWithValue.begin(), kLongWithValue.end(),
                         QByteArrayView(argument).sliced(2)) != kLongWithValue.end();
    // Flags may be run together ("-wi"); the value of -I is the rest, or the next argument.
    return argument.indexOf(kShortWithValue) == argument.size() - 1;
}

// The arguments that are no options, as given: an argument is an option when it starts with '-'
// (but is not "-" alone) and comes before a "--", and an option's value is no positional
// argument either.
QList<QByteArray> Positional(const QList<QByteArray>& arguments) {
    QList<QByteArray> positional;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (!optionsEnded && argument == "--memory")
            ++i;
        else if (optionsEnded || !argument.startsWith('-') || argument == "-")
            positional.append(argument);
        else if (ValueFollows(argument))
            ++i;
    }
    return positional;
}

// The kinds --ignore names, with the names for groups of them.
std::optional<compare::LookalikeKinds> KindsNamed(const QString& name) {
    using compare::LookalikeKind;
    using compare::LookalikeKinds;
    if (name == u"all-space")
        return LookalikeKinds(LookalikeKind::TrailingSpace)
            .With(LookalikeKind::LeadingSpace)
            .With(LookalikeKind::InnerSpace);
    if (name == u"invisible")
        return LookalikeKinds(LookalikeKind::Nbsp).With(LookalikeKind::ZeroWidth);
    for (const LookalikeKind kind : compare::kLookalikeKinds) {
        const std::string_view kindName = compare::LookalikeKindName(kind);
        if (name == QLatin1StringView(kindName.data(), static_cast<qsizetype>(kindName.size())))
            return LookalikeKinds(kind);
    }
    return std::nullopt;
}

QString KindNames() {
    QStringList names;
    for (const compare::LookalikeKind kind : compare::kLookalikeKinds)
        names.append(QString::fromLatin1(compare::LookalikeKindName(kind)));
    return names.join(u", "_s) + u", all-space, invisible"_s;
}

std::u16string Units(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// The rules the options choose; a usage error for an unknown kind or a repeated -I.
std::variant<compare::RuleChoice, CliExit> ChosenRules(const QCommandLineParser& parser) {
    using compare::LookalikeKind;
    compare::RuleChoice choice;
    const auto add = [&](compare::LookalikeKinds kinds) {
        choice.kinds = compare::LookalikeKinds::FromBits(choice.kinds.Bits() | kinds.Bits());
    };
    const compare::LookalikeKinds trailing(LookalikeKind::TrailingSpace);
    if (parser.isSet(u"i"_s))
        add(LookalikeKind::Case);
    if (parser.isSet(u"Z"_s))
        add(trailing);
    if (parser.isSet(u"b"_s))
        add(trailing.With(LookalikeKind::InnerSpace));
    if (parser.isSet(u"w"_s))
        add(*KindsNamed(u"all-space"_s));
    for (const QString& value : parser.values(u"ignore"_s)) {
        for (const QString& name : value.split(u',')) {
            const auto kinds = KindsNamed(name);
            if (!kinds)
                return UsageError(u"Unknown kind '"_s + name + u"' for --ignore: use "_s +
                                  KindNames() + u"."_s);
            add(*kinds);
        }
    }
    const QStringList ignoreMatching = parser.values(u"I"_s);
    if (ignoreMatching.size() > 1)
        return UsageError(u"-I (--ignore-matching-lines) may be given once; join expressions "
                          u"with | to ignore lines that match any of them."_s);
    if (!ignoreMatching.isEmpty())
        choice.ignoreMatching = Units(ignoreMatching.front());
    for (const QString& mask : parser.values(u"mask"_s))
        choice.masks.push_back(Units(mask));
    return choice;
}

// The option a user gave an expression with, for a complaint about it.
QString OptionOf(compare::RuleRole role) {
    return role == compare::RuleRole::Mask ? u"--mask"_s : u"-I"_s;
}

// What makes the options one asks for impossible together, if anything.
QString Contradiction(const CliOptions& options) {
    if (options.file1 == kStandardInput && options.file2 == kStandardInput)
        return u"Standard input can stand for one of the files only."_s;
    if (options.counts && options.mode != CliOptions::Mode::Lines)
        return u"--counts works with lines only."_s;
    // The lines are counted as they stand, which a rule would contradict.
    if (options.counts && options.rules.Any())
        return u"--counts counts lines as they stand: leave out the rules (--ignore, -i, -Z, -b, "
               u"-w, -I, --mask) to use it."_s;
    // The report's forms: readable, --json, --count and --quiet.
    if (int(options.json) + int(options.count) + int(options.quiet) > 1)
        return u"Choose one of --json, --count and --quiet."_s;
    return {};
}

} // namespace

std::variant<CliOptions, CliExit> ParseCliArguments(const QList<QByteArray>& arguments) {
    QStringList decoded;
    for (const QByteArray& argument : arguments)
        decoded.append(QFile::decodeName(argument));
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    const QCommandLineOption exact(u"exact"_s,
                                   u"Take each file's bytes as UTF-8 with nothing normalised "
                                   u"and nothing appended."_s);
    const QCommandLineOption json(
        u"json"_s, u"Print one JSON object instead of text. Each file's object holds its "
                   u"\"result\" and \"marks\" as the window has them, and \"entries\": "
                   u"{\"line\",\"text\"} for lines, {\"line\",\"word\",\"text\"} for "
                   u"words (lines from 1, words in their line from 0)."_s);
    const QCommandLineOption explain(
        u"explain"_s,
        u"Under each difference that only looks different from a line of the other file "
        u"(lines) or a word of its partner line (words), name that line and the kinds of "
        u"difference. With --json each file's object gets \"lookalikes\": "
        u"start and length are the difference as its mark covers it, other_start and "
        u"other_length the look-alike in the other file the same way."_s);
    const QCommandLineOption ignore(
        u"ignore"_s,
        u"Count lines (lines) or words (words) that differ only by these kinds as equal, each "
        u"alone or several together: "_s +
            KindNames() +
            u" (all-space: the three space kinds; invisible: nbsp and zero-width). May be given "
            u"more than once. With --explain each file's report adds the lines or words that "
            u"only the rules match, and with --json each file's object gets "
            u"\"matched_by_rule\"."_s,
        u"kind,..."_s);
    const QCommandLineOption ignoreCase(u"i"_s, u"The same as --ignore=case."_s);
    const QCommandLineOption ignoreTrailing(u"Z"_s, u"The same as --ignore=trailing-space."_s);
    const QCommandLineOption ignoreSpaceChange(
        u"b"_s, u"The same as --ignore=trailing-space,inner-space."_s);
    const QCommandLineOption ignoreAllSpace(u"w"_s, u"The same as --ignore=all-space."_s);
    const QCommandLineOption ignoreMatching(
        QStringList{u"I"_s, u"ignore-matching-lines"_s},
        u"A line in which this regular expression (Perl's syntax, as ICU reads it) finds a "
        u"match is never a difference, in either direction."_s,
        u"regexp"_s);
    const QCommandLineOption mask(
        u"mask"_s,
        u"Inside each line every match of this regular expression stands for one placeholder "
        u"before lines or words are compared. May be given more than once."_s,
        u"regexp"_s);
    const QCommandLineOption memory(
        u"memory"_s,
        u"Use at most about SIZE of memory (K, M, G or T for KiB, MiB, GiB, TiB). By default "
        u"three times the files' size and 100 MB, but never more than half the memory. lines "
        u"on UTF-8 files that do not fit (or over 1 GiB) goes through temporary files under "
        u"$TMPDIR."_s,
        u"SIZE"_s);
    const QCommandLineOption lineNumbers(
        QStringList{u"n"_s, u"line-numbers"_s},
        u"Put each difference's line number in front of it (for words, the line of the "
        u"word)."_s);
    const QCommandLineOption counts(
        u"counts"_s,
        u"lines: also list the lines that both files hold, but a different number of times, "
        u"each at its first line with both counts (with --json, \"counts\")."_s);
    const QCommandLineOption quiet(QStringList{u"q"_s, u"quiet"_s},
                                   u"Print nothing; only the exit status tells."_s);
    const QCommandLineOption count(
        u"count"_s, u"Print only how many differences each file has, a line a file: N NAME."_s);
    parser.addOptions({help, version, exact, json, explain, lineNumbers, counts, quiet, count,
                       ignore, ignoreCase, ignoreTrailing, ignoreSpaceChange, ignoreAllSpace,
                       ignoreMatching, mask, memory});
    parser.addPositionalArgument(u"mode"_s, u"lines or words"_s);
    parser.addPositionalArgument(u"file1"_s, u"Text file #1 (- for standard input)"_s);
    parser.addPositionalArgument(u"file2"_s, u"Text file #2 (- for standard input)"_s);

    if (!parser.parse(decoded))
        return UsageError(parser.errorText());
    if (parser.isSet(help))
        return CliExit{parser.helpText(), 0};
    if (parser.isSet(version))
        return CliExit{u"tarnwick-cli "_s + QStringLiteral(TARNWICK_VERSION), 0};

    const QList<QByteArray> positional = Positional(arguments);
    if (positional.size() != 3)
        return UsageError(u"Expected a mode and two files."_s);
    CliOptions options;
    if (positional[0] == "lines")
        options.mode = CliOptions::Mode::Lines;
    else if (positional[0] == "words")
        options.mode = CliOptions::Mode::Words;
    else
        return UsageError(u"Unknown mode '"_s + QFile::decodeName(positional[0]) +
                          u"': use lines or words."_s);
    options.file1 = positional[1];
    options.file2 = positional[2];
    options.exact = parser.isSet(exact);
    options.json = parser.isSet(json);
    options.explain = parser.isSet(explain);
    if (parser.isSet(memory)) {
        options.memoryBytes = ParseMemorySize(parser.value(memory));
        if (!options.memoryBytes)
            return UsageError(u"Bad size for --memory: '"_s + parser.value(memory) + u"'."_s);
    }
    options.lineNumbers = parser.isSet(lineNumbers);
    options.counts = parser.isSet(counts);
    options.quiet = parser.isSet(quiet);
    options.count = parser.isSet(count);
    auto chosen = ChosenRules(parser);
    if (auto* exit = std::get_if<CliExit>(&chosen))
        return *exit;
    // An expression that cannot be used is told before any file is read.
    try {
        options.rules = compare::ComparisonRules(std::get<compare::RuleChoice>(std::move(chosen)));
    } catch (const compare::RuleError& error) {
        const std::u16string& expression = error.Expression();
        return CliExit{
            OptionOf(error.Role()) + u" '"_s +
                QString::fromUtf16(expression.data(), static_cast<qsizetype>(expression.size())) +
                u"': "_s + QString::fromStdString(error.Complaint()),
            kTroubleStatus};
    }
    if (const QString error = Contradiction(options); !error.isEmpty())
        return UsageError(error);
    return options;
}

qint64 MemoryAllowance(const CliOptions& options, qint64 fileBytes) {
    constexpr qint64 kFixedAllowance = qint64{100} << 20;
    if (options.memoryBytes)
        return *options.memoryBytes;
    const qint64 machine = qint64{sysconf(_SC_PHYS_PAGES)} * qint64{sysconf(_SC_PAGE_SIZE)};
    const qint64 usual = 3 * fileBytes + kFixedAllowance;
    return machine > 0 ? std::min(usual, machine / 2) : usual;
}

std::optional<qint64> ParseMemorySize(const QString& text) {
    static const QRegularExpression kSize(u"^([0-9]{1,15})([kKmMgGtT]?)(i?[bB])?$"_s);
    const QRegularExpressionMatch match = kSize.match(text);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && !match.captured(3).isEmpty() &&
                              match.captured(3).size() > 1))
        return std::nullopt;
    const qint64 number = match.captured(1).toLongLong();
    const auto shift = QStringLiteral("kmgt").indexOf(match.captured(2).toLower()) + 1;
    const int bits = match.captured(2).isEmpty() ? 0 : static_cast<int>(10 * shift);
    if (number == 0 || number > (std::numeric_limits<qint64>::max() >> bits))
        return std::nullopt;
    return number << bits;
}

std::variant<CliOptions, CliExit> ParseCliArguments(const QStringList& arguments) {
    QList<QByteArray> native;
    for (const QString& argument : arguments)
        native.append(QFile::encodeName(argument));
    return ParseCliArguments(native);
}

int PrintCliExit(const CliExit& exit, std::FILE* out, std::FILE* err) {
    std::FILE* stream = exit.status == 0 ? out : err;
    const QByteArray text = exit.text.toUtf8();
    const bool written =
        std::fprintf(stream, "%s%s\n",
                     exit.status == 0 ? "" : "tarnwick-cli: ", text.constData()) >= 0 &&
        std::fflush(stream) == 0;
    if (!written) {
        std::fprintf(err, "tarnwick-cli: the answer could not be written\n");
        return kTroubleStatus;
    }
    return exit.status;
}
