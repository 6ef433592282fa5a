#include "app/WindowCommandLine.h"

#include "app/RuleKindNames.h"
#include "platform/FileNames.h"

#include <QCommandLineParser>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Also the status of an answer that could not be written.
constexpr int kUsageStatus = 2;
const QString kUsage = u"Usage: tarnwick [--lines | --words] [RULES] [FILE1 [FILE2]]"_s;
const QString kTryHelp = u"Try 'tarnwick --help'."_s;

const QString kDescription = uR"(Compares two text files in the Tarnwick window.

FILE1 is loaded into "Text File #1" and FILE2 into "Text File #2", as their
Load buttons load them; relative paths are taken from the current folder.
--lines or --words then runs that comparison as its button does. The rule
options (as tarnwick-cli takes them) set the comparison rules for this run.)"_s;

// The start-up options Qt's GUI reads itself (QGuiApplication, QApplication, the X11 platform).
void AcceptQtStartupOptions(QCommandLineParser& parser) {
    const auto hidden = [](const QString& name, const QString& valueName) {
        QCommandLineOption option(name, QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        return option;
    };
    for (const QString& name :
         {u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
          u"qwindowgeometry"_s, u"qwindowicon"_s, u"qwindowtitle"_s, u"session"_s, u"display"_s,
          u"geometry"_s, u"title"_s, u"icon"_s, u"name"_s, u"style"_s, u"stylesheet"_s})
        parser.addOption(hidden(name, u"value"_s));
    for (const QString& name :
         {u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s})
        parser.addOption(hidden(name, QString()));
}

QString HelpText(const QCommandLineParser& parser) {
    // The parser's own usage line would need an application object for the program's name.
    const QString text = parser.helpText().trimmed();
    return kUsage + text.mid(text.indexOf(u'\n'));
}

CommandLineExit UsageError(const QString& message) {
    return {u"tarnwick: "_s + message + u" "_s + kTryHelp, kUsageStatus};
}

// Worked out on the name itself, so that a name of any bytes, in a folder of any bytes, stays
// the name of that file.
QString AbsoluteNativePath(const QString& path) {
    // An empty name stays empty, to be reported as a file that is not there.
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return QDir::toNativeSeparators(QDir::cleanPath(path));
    const QString folder = FileNames::CurrentFolder();
    // Without a current folder the name stays relative, and fails as the system fails it.
    return QDir::toNativeSeparators(folder.isEmpty() ? path
                                                     : QDir::cleanPath(folder + u'/' + path));
}

// The kinds --ignore names: one of kRuleKindNames, or a group of them.
std::optional<QStringList> KindsNamed(const QString& name) {
    if (name == u"all-space")
        return QStringList{u"trailing-space"_s, u"leading-space"_s, u"inner-space"_s};
    if (name == u"invisible")
        return QStringList{u"nbsp"_s, u"zero-width"_s};
    if (RuleKindIndex(name) >= 0)
        return QStringList{name};
    return std::nullopt;
}

// The rules the options give, or a usage error; nothing when no rule option is given.
std::variant<std::optional<WindowRules>, CommandLineExit>
RulesGiven(const QCommandLineParser& parser) {
    QStringList kinds;
    if (parser.isSet(u"i"_s))
        kinds.append(u"case"_s);
    if (parser.isSet(u"Z"_s))
        kinds.append(u"trailing-space"_s);
    if (parser.isSet(u"b"_s))
        kinds.append({u"trailing-space"_s, u"inner-space"_s});
    if (parser.isSet(u"w"_s))
        kinds.append(*KindsNamed(u"all-space"_s));
    for (const QString& value : parser.values(u"ignore"_s)) {
        for (const QString& name : value.split(u',')) {
            const auto named = KindsNamed(name);
            if (!named)
                return UsageError(u"Unknown kind '"_s + name + u"' for --ignore."_s);
            kinds.append(*named);
        }
    }
    const QStringList ignoreMatching = parser.values(u"I"_s);
    if (ignoreMatching.size() > 1)
        return UsageError(u"-I may be given once; join expressions with |."_s);
    WindowRules rules;
    for (const RuleKindName& kind : kRuleKindNames)
        if (kinds.contains(QString::fromUtf16(kind.name)))
            rules.kinds.append(QString::fromUtf16(kind.name));
    if (!ignoreMatching.isEmpty())
        rules.ignoreMatching = ignoreMatching.front();
    rules.masks = parser.values(u"mask"_s);
    if (!rules.Any())
        return std::optional<WindowRules>();
    if (const QString complaint = RulesComplaint(rules); !complaint.isEmpty())
        return UsageError(complaint);
    return std::optional<WindowRules>(rules);
}

} // namespace

int PrintCommandLineExit(const CommandLineExit& exit, std::FILE* out, std::FILE* err) {
    std::FILE* stream = exit.status == 0 ? out : err;
    const bool written = std::fprintf(stream, "%s\n", exit.text.toLocal8Bit().constData()) >= 0 &&
                         std::fflush(stream) == 0;
    if (written)
        return exit.status;
    std::fprintf(err, "tarnwick: the answer could not be written\n");
    return kUsageStatus;
}

std::variant<WindowCommandLine, CommandLineExit>
ParseWindowCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's own options are single words after one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    const QCommandLineOption lines(u"lines"_s, u"Find Differences (Lines) once loaded."_s);
    const QCommandLineOption words(u"words"_s, u"Find Differences (Words) once loaded."_s);
    parser.addOptions({help, version, lines, words});
    parser.addOptions({
        {u"ignore"_s, u"Count lines or words that differ only by these kinds as equal."_s,
         u"kind,..."_s},
        {u"i"_s, u"The same as --ignore=case."_s},
        {u"Z"_s, u"The same as --ignore=trailing-space."_s},
        {u"b"_s, u"The same as --ignore=trailing-space,inner-space."_s},
        {u"w"_s, u"The same as --ignore=all-space."_s},
        {QStringList{u"I"_s, u"ignore-matching-lines"_s},
         u"A line in which this regular expression finds a match is no difference."_s, u"regexp"_s},
        {u"mask"_s, u"Every match inside a line stands for one placeholder. May be repeated."_s,
         u"regexp"_s},
    });
    AcceptQtStartupOptions(parser);
    parser.addPositionalArgument(u"FILE1"_s, u"Text file #1."_s, u"[FILE1"_s);
    parser.addPositionalArgument(u"FILE2"_s, u"Text file #2."_s, u"[FILE2]]"_s);

    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    if (parser.isSet(help))
        return CommandLineExit{HelpText(parser), 0};
    if (parser.isSet(version))
        return CommandLineExit{u"tarnwick "_s + QStringLiteral(TARNWICK_VERSION), 0};
    if (parser.isSet(lines) && parser.isSet(words))
        return UsageError(u"--lines and --words cannot be used together."_s);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 2)
        return UsageError(u"At most two files, one for each side."_s);

    auto rules = RulesGiven(parser);
    if (auto* exit = std::get_if<CommandLineExit>(&rules))
        return *exit;

    WindowCommandLine commandLine;
    commandLine.rules = std::get<std::optional<WindowRules>>(std::move(rules));
    for (const QString& file : files)
        commandLine.files.append(AbsoluteNativePath(file));
    if (parser.isSet(lines))
        commandLine.comparison = WindowCommandLine::Comparison::Lines;
    else if (parser.isSet(words))
        commandLine.comparison = WindowCommandLine::Comparison::Words;
    return commandLine;
}

std::variant<WindowCommandLine, CommandLineExit>
ParseWindowCommandLine(const QList<QByteArray>& arguments) {
    QStringList decoded;
    for (const QByteArray& argument : arguments)
        decoded.append(FileNames::Decode(argument));
    return ParseWindowCommandLine(decoded);
}
