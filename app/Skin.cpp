#include "app/Skin.h"

#include "platform/Failure.h"

#include <QStringDecoder>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Qt reports a style sheet it cannot parse only as a warning; catch it while the sheet is set.
bool parseFailed = false;
QtMessageHandler previousHandler = nullptr;

void WatchForParseFailure(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(u"Could not parse"_s))
        parseFailed = true;
    else if (previousHandler)
        previousHandler(type, context, text);
}

// Style sheets are small; a file far larger is none, and would take long to parse.
constexpr qint64 kMaxSkinBytes = qint64{1} << 20;

QString ReadStyleSheet(const FileSystem& fileSystem, const QString& path) {
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(*fileSystem.OpenForReading(path), kMaxSkinBytes,
                              u"it is far too large for a style sheet"_s);
    } catch (const Failure& failure) {
        throw Failure(u"The skin file cannot be read: "_s + failure.Description());
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString sheet = utf8(bytes);
    if (utf8.hasError() || sheet.contains(QChar(0)))
        throw Failure(u"The skin file is not a style sheet"_s);
    return sheet;
}

} // namespace

void ApplySkinFile(QWidget& window, const FileSystem& fileSystem, const QString& path) {
    const QString sheet = ReadStyleSheet(fileSystem, path);
    const QString before = window.styleSheet();
    parseFailed = false;
    previousHandler = qInstallMessageHandler(WatchForParseFailure);
    window.setStyleSheet(sheet);
    window.ensurePolished();
    qInstallMessageHandler(previousHandler);
    if (parseFailed) {
        window.setStyleSheet(before);
        throw Failure(u"The skin file is not a style sheet Qt can read"_s);
    }
}
