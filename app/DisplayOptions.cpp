// The two display options: the full texts with their red differences, or only the lists.
#include "app/Form1.h"
#include "app/SettingsKeys.h"

#include <QRadioButton>

namespace {

void SaveOption(SettingsStore& settings, const QString& key, const QRadioButton* option) {
    settings.SaveSetting(SettingsKeys::kApplication, SettingsKeys::kSection, key,
                         SettingsKeys::BooleanText(option->isChecked()));
}

} // namespace

void Form1::Option1_Click() {
    SaveOption(desktop_.settings, SettingsKeys::kOption2, Option2);
    SaveOption(desktop_.settings, SettingsKeys::kOption1, Option1);
    if (!Option1->isChecked())
        return;
    RichTextBox1.SetVisible(true);
    RichTextBox2.SetVisible(true);
    RichTextBox3.SetVisible(false);
    RichTextBox4.SetVisible(false);
}

void Form1::Option2_Click() {
    SaveOption(desktop_.settings, SettingsKeys::kOption2, Option2);
    SaveOption(desktop_.settings, SettingsKeys::kOption1, Option1);
    if (!Option2->isChecked())
        return;
    RichTextBox1.SetVisible(false);
    RichTextBox2.SetVisible(false);
    RichTextBox3.SetVisible(true);
    RichTextBox4.SetVisible(true);
}

void Form1::SetOptionValue(QRadioButton* option, bool value) {
    if (!value) {
        // An exclusive group will not let its selected button go unless told to for a moment.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
        return;
    }
    option->setChecked(true);
    if (option == Option1)
        Option1_Click();
    else
        Option2_Click();
}
