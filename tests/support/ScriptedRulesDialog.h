#pragma once

#include "platform/RulesDialog.h"

#include <deque>

// A rules dialog that shows nothing: it records what it was shown with and answers from a
// script, each answer being what the user presses OK on (or nothing: Cancel). An answer the
// dialog's check finds fault with is refused as the real dialog refuses it, its complaint
// recorded, and the next answer is tried; when the script runs out the user cancels.
class ScriptedRulesDialog final : public RulesDialog {
public:
    Task<std::optional<RulesForm>> Ask(std::vector<RulesDialogKind> kinds, RulesForm form,
                                       RulesComplaintOf complaint) override {
        shownKinds = std::move(kinds);
        shown.push_back(std::move(form));
        while (!answers.empty()) {
            std::optional<RulesForm> answer = std::move(answers.front());
            answers.pop_front();
            if (!answer)
                co_return std::nullopt;
            const QString said = complaint ? complaint(*answer) : QString();
            if (said.isEmpty())
                co_return answer;
            complaints.push_back(said);
        }
        co_return std::nullopt;
    }

    std::vector<RulesDialogKind> shownKinds;
    std::vector<RulesForm> shown; // the forms it was opened with
    std::deque<std::optional<RulesForm>> answers;
    std::vector<QString> complaints;
};
