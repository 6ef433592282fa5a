#pragma once

#include "platform/MsgBox.h"

#include <cstdio>

// Answers every box at once, as a user in a hurry would: OK, or No to a question. Counts the
// "Done." boxes and the "Application Error" reports, and prints the text of any box but "Done."
// to stderr, so that a run that went wrong shows how.
class AnsweringMsgBox final : public MsgBox {
public:
    Task<MsgBoxResult> Show(const QString& text, int style,
                            const std::optional<QString>& caption) override {
        if (text == u"Done.") {
            ++counts.done;
        } else {
            if (caption == u"Application Error")
                ++counts.errorReports;
            else
                ++counts.others;
            // The report breaks its lines with lone CRs, which a terminal would overprint.
            std::fprintf(stderr, "message box: %s\n",
                         qPrintable(QString(text).replace(u'\r', u'\n')));
        }
        co_return (style & 7) == MsgBoxStyle::YesNo ? MsgBoxResult::No : MsgBoxResult::Ok;
    }

    struct Counts {
        int done = 0;
        int errorReports = 0;
        int others = 0;
    };
    Counts counts;
};
