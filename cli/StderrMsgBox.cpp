#include "cli/StderrMsgBox.h"

#include <cstdio>

using namespace Qt::StringLiterals;

MsgBoxResult StderrMsgBox::Show(const QString& text, int style,
                                const std::optional<QString>& caption) {
    ++shown_;
    QString message = text;
    message.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    if (caption)
        message.prepend(*caption + u": "_s);
    std::fprintf(stderr, "tarnwick-cli: %s\n", message.toUtf8().constData());
    return (style & 7) == MsgBoxStyle::YesNo ? MsgBoxResult::No : MsgBoxResult::Ok;
}
