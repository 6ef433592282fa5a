#include "WindowFixture.h"

#include "app/MousePointer.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>

#include <functional>

using namespace Qt::StringLiterals;

// Each failing step is reported with the number of the statement that failed, under the
// procedure's location, and the procedure goes on with the statements after it.
namespace {

class FailureStepsTest : public WindowFixture {
protected:
    // Where the report names the procedure and the step: "in ... at line N".
    static QString Place(const QString& procedure, int line) {
        return u"\r\nin Tarnwick2021/08/31.Form1."_s + procedure + u" at line "_s +
               QString::number(line) + u"\r\r"_s;
    }

    // A name that exists but cannot be read as a file.
    QString Unreadable() {
        QDir(programFolder.path()).mkdir(u"folder.txt"_s);
        return programFolder.filePath(u"folder.txt"_s);
    }
};

} // namespace

TEST_F(FailureStepsTest, LoadFailuresQuoteTheStatementThatFailed) {
    enum Failing { SingleFile, FileInTheLoop, Dialog };
    const struct {
        int side;
        Failing failing;
        int line;
        QString text; // what the pane holds afterwards
    } cases[] = {
        {1, SingleFile, 122, u"\r"_s}, {1, FileInTheLoop, 138, u"good\r"_s}, {1, Dialog, 108, {}},
        {2, SingleFile, 120, u"\r"_s}, {2, FileInTheLoop, 132, u"good\r"_s}, {2, Dialog, 108, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << ", line " << c.line);
        Form1& form = Start();
        const QString good = Write(u"good.txt"_s, "good");
        const QString unreadable = Unreadable();
        switch (c.failing) {
        case SingleFile:
            dialog.answers = {unreadable};
            break;
        case FileInTheLoop:
            dialog.answers = {ScriptedFileDialog::Selection(programFolder.path(),
                                                            {u"folder.txt"_s, u"good.txt"_s})};
            break;
        case Dialog:
            dialog.answers = {good};
            dialog.failing = u"ShowOpen"_s;
            break;
        }
        c.side == 1 ? form.PushButton3_Click() : form.PushButton4_Click();
        const QString procedure = u"PushButton"_s + QString::number(c.side + 2) + u"_Click"_s;
        ASSERT_EQ(ErrorReports().size(), 1u);
        EXPECT_TRUE(ErrorReports()[0].contains(Place(procedure, c.line)))
            << ErrorReports()[0].toStdString();
        // After a failed file the procedure goes on with the next file, the CR and the full view;
        // a dialog that failed leaves no name, which ends the procedure as a cancel does.
        EXPECT_EQ((c.side == 1 ? form.RichTextBox1 : form.RichTextBox2).Text(), c.text);
        EXPECT_EQ(form.Option1->isChecked(), c.failing != Dialog);
        EXPECT_EQ(form.MousePointer(), MousePointer::Default);
        window.reset();
        box.shown.clear();
        dialog.failing.clear();
        settings.values.clear();
    }
}

TEST_F(FailureStepsTest, SaveFailuresQuoteTheStatementThatFailed) {
    const QString nowhere = programFolder.filePath(u"no/such/folder/x.txt"_s);
    const struct {
        int side;
        bool fullTexts;
        QString failingCall; // in the dialog; none: the file cannot be written
        int line;
    } cases[] = {
        {1, true, {}, 116},
        {1, false, {}, 120},
        {2, true, {}, 116},
        {2, false, {}, 120},
        {1, false, u"ShowSave"_s, 106},
        {2, true, u"Flags"_s, 100},
        {1, true, u"FileName"_s, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << ", line " << c.line);
        Form1& form = Start();
        if (c.fullTexts)
            form.SetOptionValue(form.Option1, true);
        dialog.answers = {nowhere};
        dialog.failing = c.failingCall;
        c.side == 1 ? form.PushButton2_Click() : form.PushButton5_Click();
        const QString procedure =
            u"PushButton"_s + QString::number(c.side == 1 ? 2 : 5) + u"_Click"_s;
        ASSERT_GE(ErrorReports().size(), 1u);
        EXPECT_TRUE(ErrorReports()[0].contains(Place(procedure, c.line)))
            << ErrorReports()[0].toStdString();
        EXPECT_EQ(form.MousePointer(), MousePointer::Default) << "the pointer is reset after it";
        window.reset();
        box.shown.clear();
        settings.values.clear();
    }
}

// Start-up failures at the steps that set the caption, the icon and the application title (124),
// and that restore the two options (158, 160); start-up goes on after each.
TEST_F(FailureStepsTest, StartUpFailuresQuoteTheirStep) {
    const auto failOn = [](auto signal) {
        return [signal](Form1& form, QObject&) {
            QObject::connect(&form, signal, &form,
                             [] { throw Failure(u"Cannot change the window"_s); });
        };
    };
    const auto optionsAre = [](bool option2, bool option1) {
        return [option2, option1](Form1& form) {
            EXPECT_EQ(form.Option2->isChecked(), option2);
            EXPECT_EQ(form.Option1->isChecked(), option1);
        };
    };
    const struct {
        const char* what;
        std::function<void(Form1&, QObject& context)> prepare;
        QString storedOption2;
        QString storedOption1;
        int line;
        std::function<void(Form1&)> afterwards;
    } cases[] = {
        {"caption", failOn(&QWidget::windowTitleChanged), {}, {}, 124, optionsAre(true, false)},
        {"icon", failOn(&QWidget::windowIconChanged), {}, {}, 124, optionsAre(true, false)},
        {"application title",
         [](Form1&, QObject& context) {
             QGuiApplication::setApplicationDisplayName(u"another title"_s);
             QObject::connect(qGuiApp, &QGuiApplication::applicationDisplayNameChanged, &context,
                              [] { throw Failure(u"Cannot set the title"_s); });
         },
         {},
         {},
         124,
         optionsAre(true, false)},
        // The design selects the lists; step 160 still restores the full texts.
        {"stored Option2", {}, u"nan"_s, u"True"_s, 158, optionsAre(false, true)},
        // Step 158 cleared the lists; the full texts keep their state: neither is selected.
        {"stored Option1", {}, u"False"_s, u"-INF"_s, 160, optionsAre(false, false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.storedOption2.isEmpty())
            PresetSetting(u"Option2"_s, c.storedOption2);
        if (!c.storedOption1.isEmpty())
            PresetSetting(u"Option1"_s, c.storedOption1);
        window = std::make_unique<Form1>(Desktop{box, dialog, settings, shell, fileSystem, pump,
                                                 process, random, rulesDialog, [] { return 0.0; }});
        {
            QObject context;
            if (c.prepare)
                c.prepare(*window, context);
            window->Form_Load();
        }
        ASSERT_EQ(ErrorReports().size(), 1u);
        EXPECT_TRUE(ErrorReports()[0].contains(Place(u"Form_Load"_s, c.line)))
            << ErrorReports()[0].toStdString();
        c.afterwards(*window);
        window.reset();
        box.shown.clear();
        settings.values.clear();
    }
}
