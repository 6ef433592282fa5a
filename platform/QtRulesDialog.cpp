#include "platform/QtRulesDialog.h"

#include "platform/ModalDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* Explanation(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setIndent(24);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

Task<std::optional<RulesForm>> QtRulesDialog::Ask(std::vector<RulesDialogKind> kinds,
                                                  RulesForm form, RulesComplaintOf complaint) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(u"Comparison Rules"_s);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        u"Lines (or words) that differ only in the ways chosen here count as equal. They are "
        u"drawn in blue-grey rather than red, and their tooltip names the rules that matched."_s,
        &dialog));
    std::vector<QCheckBox*> boxes;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        auto* box = new QCheckBox(kinds[i].label, &dialog);
        box->setChecked(i < form.kinds.size() && form.kinds[i]);
        layout->addWidget(box);
        layout->addWidget(Explanation(kinds[i].example, &dialog));
        boxes.push_back(box);
    }
    layout->addWidget(new QLabel(u"Ignore lines matching:"_s, &dialog));
    auto* ignore = new QLineEdit(form.ignoreMatching, &dialog);
    ignore->setAccessibleName(u"Ignore lines matching"_s);
    layout->addWidget(ignore);
    layout->addWidget(Explanation(
        u"A regular expression (Perl syntax): a line in which it finds a match is never a "
        u"difference. ^# ignores every line that starts with #."_s,
        &dialog));
    layout->addWidget(new QLabel(u"Masks, one a line:"_s, &dialog));
    auto* masks = new QPlainTextEdit(form.masks.join(u'\n'), &dialog);
    masks->setAccessibleName(u"Masks"_s);
    masks->setMaximumHeight(80);
    layout->addWidget(masks);
    layout->addWidget(
        Explanation(u"Each match inside a line stands for one placeholder before comparing: under "
                    u"\\d\\d:\\d\\d:\\d\\d, \"10:00:01 started\" equals \"11:15:40 started\"."_s,
                    &dialog));
    auto* complaintLabel = new QLabel(&dialog);
    complaintLabel->setWordWrap(true);
    complaintLabel->setStyleSheet(u"color: #b00020"_s);
    complaintLabel->hide();
    layout->addWidget(complaintLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);

    RulesForm chosen;
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        chosen.kinds.clear();
        for (const QCheckBox* box : boxes)
            chosen.kinds.push_back(box->isChecked());
        chosen.ignoreMatching = ignore->text();
        chosen.masks = masks->toPlainText().split(u'\n', Qt::SkipEmptyParts);
        const QString said = complaint ? complaint(chosen) : QString();
        if (!said.isEmpty()) {
            complaintLabel->setText(said);
            complaintLabel->show();
            return;
        }
        dialog.accept();
    });
    const int result = co_await ShowModal(dialog);
    if (result != QDialog::Accepted)
        co_return std::nullopt;
    co_return chosen;
}
