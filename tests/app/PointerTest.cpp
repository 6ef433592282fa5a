#include "WindowFixture.h"

#include "CursorFileBytes.h"
#include "app/MousePointer.h"

#include <QDir>
#include <QEnterEvent>
#include <QGroupBox>
#include <QPushButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class PointerTest : public WindowFixture {
protected:
    static void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(widget, &enter);
    }
};

} // namespace

// Every box a load or a save shows while it works is shown under the hourglass, and the pointer
// is back to the default afterwards. The pointer is only looked at from inside the operation.
TEST_F(PointerTest, TheHourglassShowsWhileALoadOrASaveWorks) {
    const struct {
        const char* what;
        std::function<void(Form1&)> act;
        std::size_t boxes;
    } cases[] = {
        {"side 1, a missing file",
         [this](Form1& form) {
             dialog.answers = {programFolder.filePath(u"gone.txt"_s)};
             form.PushButton3_Click();
         },
         1},
        {"side 2, a missing file",
         [this](Form1& form) {
             dialog.answers = {programFolder.filePath(u"gone.txt"_s)};
             form.PushButton4_Click();
         },
         1},
        {"side 2, several files of which two are missing",
         [this](Form1& form) {
             Write(u"here.txt"_s, "here");
             dialog.answers = {ScriptedFileDialog::Selection(
                 programFolder.path(), {u"gone.txt"_s, u"here.txt"_s, u"lost.txt"_s})};
             form.PushButton4_Click();
         },
         2},
        {"side 1, a file that cannot be read",
         [this](Form1& form) {
             QDir(programFolder.path()).mkdir(u"folder.txt"_s);
             dialog.answers = {programFolder.filePath(u"folder.txt"_s)};
             form.PushButton3_Click();
         },
         1},
        {"save #1 over an existing file",
         [this](Form1& form) {
             dialog.answers = {Write(u"old.txt"_s, "old")};
             form.PushButton2_Click();
         },
         1},
        {"save #2 over an existing file, answered No",
         [this](Form1& form) {
             dialog.answers = {Write(u"old.txt"_s, "old")};
             box.answers = {MsgBoxResult::No};
             form.PushButton5_Click();
         },
         1},
        {"save #1 into a missing folder",
         [this](Form1& form) {
             dialog.answers = {programFolder.filePath(u"no/such/folder/x.txt"_s)};
             form.PushButton2_Click();
         },
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        std::vector<int> pointerAtEachBox;
        box.onShow = [&](const ScriptedMsgBox::Shown&) {
            pointerAtEachBox.push_back(form.MousePointer());
        };
        c.act(form);
        EXPECT_EQ(pointerAtEachBox, std::vector<int>(c.boxes, MousePointer::Hourglass));
        EXPECT_EQ(form.MousePointer(), MousePointer::Default);
        window.reset();
        box.onShow = nullptr;
    }
}

// The open dialog is shown before the hourglass; a cancelled load or save leaves the pointer.
TEST_F(PointerTest, TheDialogsComeBeforeTheHourglass) {
    for (Task<> (Form1::*click)() : {&Form1::PushButton3_Click, &Form1::PushButton4_Click,
                                     &Form1::PushButton2_Click, &Form1::PushButton5_Click}) {
        Form1& form = Start();
        form.SetMousePointer(MousePointer::Custom);
        int pointerInDialog = -1;
        dialog.onShow = [&] { pointerInDialog = form.MousePointer(); };
        (form.*click)();
        EXPECT_EQ(pointerInDialog, MousePointer::Custom);
        EXPECT_EQ(form.MousePointer(), MousePointer::Custom);
        window.reset();
    }
}

// A cursor file beside the program gives the hand its picture, over every button.
TEST_F(PointerTest, AHandCursorFileIsThePointerOverTheButtons) {
    Write(u"HAND-M.CUR"_s, CursorFileBytes(6, 2));
    Form1& form = Start();
    EXPECT_TRUE(box.shown.empty());
    for (QPushButton* button :
         {form.PushButton1, form.PushButton2, form.PushButton3, form.PushButton4, form.PushButton5,
          form.PushButton6, form.PushButton7, form.PushButton9}) {
        SCOPED_TRACE(button->objectName().toStdString());
        Enter(button);
        EXPECT_EQ(form.MousePointer(), MousePointer::Custom);
        EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(form.cursor().hotSpot(), QPoint(6, 2));
        EXPECT_EQ(form.cursor().pixmap().size(), QSize(16, 16));
        Enter(form.Frame2);
        EXPECT_EQ(form.MousePointer(), MousePointer::Default);
    }
}
