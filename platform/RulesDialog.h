#pragma once

#include "platform/Task.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// A kind of difference the dialog offers a box for, with a line that says what it does.
struct RulesDialogKind {
    QString label;
    QString example;
};

// What the dialog's fields hold: a box per kind, the expression for lines to ignore (empty for
// none) and the masks, one a line.
struct RulesForm {
    std::vector<bool> kinds;
    QString ignoreMatching;
    QStringList masks;

    friend bool operator==(const RulesForm&, const RulesForm&) = default;
};

// Checks a form the user accepts: why it cannot be used, or nothing.
using RulesComplaintOf = std::function<QString(const RulesForm&)>;

// The "Comparison Rules" dialog, modal like a message box. The procedure that shows it waits for
// the user: the form accepted, or nothing when it was cancelled. A form that `complaint` finds
// fault with is not accepted: the dialog says why and stays open.
class RulesDialog {
public:
    virtual ~RulesDialog() = default;
    virtual Task<std::optional<RulesForm>> Ask(std::vector<RulesDialogKind> kinds, RulesForm form,
                                               RulesComplaintOf complaint) = 0;
};
