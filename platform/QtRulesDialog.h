#pragma once

#include "platform/RulesDialog.h"

class QWidget;

// The rules dialog as Qt widgets: a box per kind with its line under it, a field for the
// expression of lines to ignore, and one for the masks.
class QtRulesDialog final : public RulesDialog {
public:
    Task<std::optional<RulesForm>> Ask(std::vector<RulesDialogKind> kinds, RulesForm form,
                                       RulesComplaintOf complaint) override;
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_ = nullptr;
};
