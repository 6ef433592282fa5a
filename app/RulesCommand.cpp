// The comparison rules in the window: the dialog that chooses them (Ctrl+R, or the context menus
// of the Find Differences buttons and the full panes), remembered between runs, and shown in the
// caption while any is active.
#include "app/Form1.h"
#include "app/RuleKindNames.h"
#include "platform/Failure.h"
#include "platform/PaneWidget.h"

#include <QAction>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

RulesForm FormOf(const WindowRules& rules) {
    RulesForm form;
    for (const RuleKindName& kind : kRuleKindNames)
        form.kinds.push_back(rules.kinds.contains(QString::fromUtf16(kind.name)));
    form.ignoreMatching = rules.ignoreMatching.value_or(QString());
    form.masks = rules.masks;
    return form;
}

WindowRules RulesOf(const RulesForm& form) {
    WindowRules rules;
    for (std::size_t i = 0; i < kRuleKindNames.size() && i < form.kinds.size(); ++i)
        if (form.kinds[i])
            rules.kinds.append(QString::fromUtf16(kRuleKindNames[i].name));
    if (!form.ignoreMatching.isEmpty())
        rules.ignoreMatching = form.ignoreMatching;
    rules.masks = form.masks;
    return rules;
}

std::vector<RulesDialogKind> DialogKinds() {
    std::vector<RulesDialogKind> kinds;
    for (const RuleKindName& kind : kRuleKindNames) {
        kinds.push_back({u"Ignore "_s + QString::fromUtf16(kind.ignored) + u" ("_s +
                             QString::fromUtf16(kind.name) + u")"_s,
                         QString::fromUtf16(kind.example)});
    }
    return kinds;
}

} // namespace

void Form1::WireRules() {
    auto* choose = new QAction(tr("Comparison Rules\u2026"), this);
    choose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addAction(choose); // Ctrl+R, wherever the focus is in the window
    connect(choose, &QAction::triggered, this, [this] { ChooseRules(); });
    for (QPushButton* button : {PushButton1, PushButton6}) {
        button->setContextMenuPolicy(Qt::ActionsContextMenu);
        button->addAction(choose);
    }
    for (const Pane* full : {&RichTextBox1, &RichTextBox2})
        ViewOf(*full)->addAction(choose);
}

Task<> Form1::ChooseRules() {
    const RulesComplaintOf complaint = [](const RulesForm& form) {
        return RulesComplaint(RulesOf(form));
    };
    const std::optional<RulesForm> chosen =
        co_await desktop_.rulesDialog.Ask(DialogKinds(), FormOf(rules_), complaint);
    if (!chosen)
        co_return;
    UseRules(RulesOf(*chosen));
    // A store that cannot be written leaves the rules in force for this run.
    try {
        RulesSetting::Save(desktop_.settings, rules_);
    } catch (const Failure&) {
    }
}

void Form1::UseRules(WindowRules rules) {
    rules_ = std::move(rules);
    ShowSideNames();
}
