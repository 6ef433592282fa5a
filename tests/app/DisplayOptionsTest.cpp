#include "WindowFixture.h"

#include <QDir>
#include <QRadioButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class DisplayOptionsTest : public WindowFixture {
protected:
    // The settings written since `from`, in order: "key=value key=value ...".
    std::string WritesSince(std::size_t from) const {
        QStringList written;
        for (std::size_t i = from; i < settings.writes.size(); ++i)
            written.append(settings.writes[i].key + u'=' + settings.writes[i].value);
        return written.join(u' ').toStdString();
    }
};

} // namespace

// Whatever selects an option, both settings are stored, "Option2" first.
TEST_F(DisplayOptionsTest, BothSettingsAreStoredOption2First) {
    const struct {
        const char* what;
        std::function<void(Form1&)> act;
        std::string written;
    } cases[] = {
        {"a click on the full texts",
         [](Form1& form) { QTest::mouseClick(form.Option1, Qt::LeftButton); },
         "Option2=False Option1=True"},
        {"a click back on the lists",
         [](Form1& form) {
             QTest::mouseClick(form.Option1, Qt::LeftButton);
             QTest::mouseClick(form.Option2, Qt::LeftButton);
         },
         "Option2=False Option1=True Option2=True Option1=False"},
        {"a load",
         [this](Form1& form) {
             dialog.answers = {Write(u"a.txt"_s, "a")};
             form.PushButton4_Click();
         },
         "Option2=False Option1=True"},
        {"the samples",
         [this](Form1& form) {
             box.answers = {MsgBoxResult::Ok, MsgBoxResult::Ok, MsgBoxResult::No};
             form.PushButton9_Click();
         },
         "Option2=False Option1=True"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        EXPECT_EQ(WritesSince(0), "Option2=True Option1=False")
            << "start-up restores the lists, as a click on them does";
        const std::size_t before = settings.writes.size();
        c.act(form);
        EXPECT_EQ(WritesSince(before), c.written);
        window.reset();
        settings.values.clear();
        settings.writes.clear();
    }
}

TEST_F(DisplayOptionsTest, AStartThatRestoresTheFullTextsStoresBothAgainOption2First) {
    PresetSetting(u"Option2"_s, u"0"_s);
    PresetSetting(u"Option1"_s, u"-1"_s);
    Form1& form = Start();
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_EQ(WritesSince(0), "Option2=False Option1=True");
}

// A click on the option that is already selected is no change of option: nothing is stored and
// the same panes stay on show.
TEST_F(DisplayOptionsTest, ClickingTheSelectedOptionLeavesTheSettingsUntouched) {
    const struct {
        const char* what;
        QRadioButton* Form1::*option;
        bool fullTexts;
    } cases[] = {
        {"the lists, selected at a first start", &Form1::Option2, false},
        {"the full texts, selected by a click", &Form1::Option1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        QRadioButton* option = form.*c.option;
        if (!option->isChecked())
            QTest::mouseClick(option, Qt::LeftButton);
        PresetSetting(u"Option2"_s, u"set by another copy"_s);
        const std::size_t before = settings.writes.size();
        QTest::mouseClick(option, Qt::LeftButton);
        EXPECT_TRUE(option->isChecked());
        EXPECT_EQ(WritesSince(before), "");
        EXPECT_EQ(Setting(u"Option2"_s).toStdString(), "set by another copy");
        EXPECT_EQ(form.RichTextBox1.Visible(), c.fullTexts);
        EXPECT_EQ(form.RichTextBox3.Visible(), !c.fullTexts);
        window.reset();
    }
}

// A setting that cannot be stored does not end the program: the option is still the one shown.
TEST_F(DisplayOptionsTest, AClickWhoseSettingsCannotBeStoredStillSwitchesThePanes) {
    Form1& form = Start();
    settings.failWrites = true;
    QTest::mouseClick(form.Option1, Qt::LeftButton);
    EXPECT_TRUE(form.RichTextBox1.Visible());
    EXPECT_FALSE(form.RichTextBox3.Visible());
    QTest::mouseClick(form.Option2, Qt::LeftButton);
    EXPECT_FALSE(form.RichTextBox1.Visible());
    EXPECT_TRUE(form.RichTextBox3.Visible());
    EXPECT_TRUE(box.shown.empty()) << "the option procedures report nothing";
}
