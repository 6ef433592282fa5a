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

// Both options store both settings, "Option2" first, whichever was clicked.
void Form1::SaveDisplayOptions() {
    SaveOption(desktop_.settings, SettingsKeys::kOption2, Option2);
    SaveOption(desktop_.settings, SettingsKeys::kOption1, Option1);
}

// The full texts, or the lists of differences, in the same place in each file's frame.
void Form1::ShowFullTexts(bool fullTexts) {
    RichTextBox1.SetVisible(fullTexts);
    RichTextBox2.SetVisible(fullTexts);
    RichTextBox3.SetVisible(!fullTexts);
    RichTextBox4.SetVisible(!fullTexts);
}

void Form1::Option1_Click() {
    SaveDisplayOptions();
    if (Option1->isChecked())
        ShowFullTexts(true);
}

void Form1::Option2_Click() {
    SaveDisplayOptions();
    if (Option2->isChecked())
        ShowFullTexts(false);
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
