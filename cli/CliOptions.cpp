#include "cli/CliOptions.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTroubleStatus = 2;

const QString kDescription = uR"(Compares two text files the way the Tarnwick window does.

  lines  every line of one file that occurs nowhere in the other
  words  the words of each line that the line at the same place in the
         other file does not supply

Both directions are computed. Exit status: 0 when neither file has a
difference, 1 when there are differences, 2 on trouble.)"_s;

} // namespace

std::variant<CliOptions, CliExit> ParseCliArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    const QCommandLineOption exact(u"exact"_s,
                                   u"Take each file's bytes as UTF-8 with nothing normalised "
                                   u"and nothing appended."_s);
    const QCommandLineOption json(u"json"_s, u"Print one JSON object instead of text."_s);
    parser.addOptions({help, version, exact, json});
    parser.addPositionalArgument(u"mode"_s, u"lines or words"_s);
    parser.addPositionalArgument(u"file1"_s, u"Text file #1"_s);
    parser.addPositionalArgument(u"file2"_s, u"Text file #2"_s);

    const QString usage = u"Try 'tarnwick-cli --help'."_s;
    if (!parser.parse(arguments))
        return CliExit{parser.errorText() + u"\n"_s + usage, kTroubleStatus};
    if (parser.isSet(help))
        return CliExit{parser.helpText(), 0};
    if (parser.isSet(version))
        return CliExit{u"tarnwick-cli "_s + QStringLiteral(TARNWICK_VERSION), 0};

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 3)
        return CliExit{u"Expected a mode and two files.\n"_s + usage, kTroubleStatus};
    CliOptions options;
    if (positional[0] == u"lines")
        options.mode = CliOptions::Mode::Lines;
    else if (positional[0] == u"words")
        options.mode = CliOptions::Mode::Words;
    else
        return CliExit{u"Unknown mode '"_s + positional[0] + u"': use lines or words.\n"_s + usage,
                       kTroubleStatus};
    options.file1 = positional[1];
    options.file2 = positional[2];
    options.exact = parser.isSet(exact);
    options.json = parser.isSet(json);
    return options;
}
