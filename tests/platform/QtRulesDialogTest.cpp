#include "platform/QtRulesDialog.h"

#include "Finish.h"
#include "ModalAnswer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<RulesDialogKind> Kinds() {
    return {{u"Ignore case"_s, u"\"Berlin\" equals \"BERLIN\"."_s},
            {u"Ignore trailing blanks"_s, u"\"a  \" equals \"a\"."_s}};
}

QString Complaint(const RulesForm& form) {
    return form.masks.contains(u"("_s) ? u"The mask \u201C(\u201D cannot be used."_s : QString();
}

} // namespace

// The dialog shows the form it is given; OK on a form its check finds fault with shows why and
// stays open, and what is accepted comes back as the user left it.
TEST(QtRulesDialogTest, AFaultyFormIsRefusedInPlaceAndTheMendedOneComesBack) {
    QString said;
    bool stayedOpen = false;
    ModalAnswer<QDialog> answer([&](QDialog& dialog) {
        const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
        auto* masks = dialog.findChild<QPlainTextEdit*>();
        auto* ignore = dialog.findChild<QLineEdit*>();
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ASSERT_EQ(boxes.size(), 2);
        EXPECT_TRUE(boxes[0]->isChecked()) << "as given";
        EXPECT_FALSE(boxes[1]->isChecked());
        EXPECT_EQ(masks->toPlainText(), u"\\d+"_s);
        boxes[1]->setChecked(true);
        masks->setPlainText(u"\\d+\n(\n"_s);
        ok->click();
        stayedOpen = dialog.isVisible();
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisible() && label->text().contains(u"cannot be used"_s))
                said = label->text();
        masks->setPlainText(u"\\d+\n\n[a-f]+"_s);
        ignore->setText(u"^#"_s);
        ok->click();
    });
    QtRulesDialog rulesDialog;
    const RulesComplaintOf complaint = Complaint;
    const std::optional<RulesForm> chosen =
        Finish(rulesDialog.Ask(Kinds(), RulesForm{{true, false}, {}, {u"\\d+"_s}}, complaint));
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(said, u"The mask \u201C(\u201D cannot be used."_s);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (RulesForm{{true, true}, u"^#"_s, {u"\\d+"_s, u"[a-f]+"_s}}));
}

TEST(QtRulesDialogTest, CancelLeavesNothingChosen) {
    ModalAnswer<QDialog> answer([](QDialog& dialog) { dialog.reject(); });
    QtRulesDialog rulesDialog;
    EXPECT_FALSE(Finish(rulesDialog.Ask(Kinds(), RulesForm{}, {})).has_value());
    EXPECT_TRUE(answer.Answered());
}
