// "Save Results #1" and "Save Results #2": the pane of the side that is on show goes to a file.
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/MousePointer.h"
#include "files/SaveRTB.h"

using namespace Qt::StringLiterals;

namespace {

struct SavePlan {
    Pane Form1::*full;
    Pane Form1::*result;
    QString location;
};

const SavePlan& SideOf(int side) {
    static const SavePlan sides[] = {
        {&Form1::RichTextBox1, &Form1::RichTextBox3,
         u"in Tarnwick2021/08/31.Form1.PushButton2_Click "_s},
        {&Form1::RichTextBox2, &Form1::RichTextBox4,
         u"in Tarnwick2021/08/31.Form1.PushButton5_Click "_s},
    };
    return sides[side - 1];
}

const int kSaveFlags = FileDialogFlags::ReadOnly | FileDialogFlags::AllowMultiSelect |
                       FileDialogFlags::Explorer | FileDialogFlags::LongNames;

} // namespace

void Form1::PushButton2_Click() {
    SaveSide(1);
}

void Form1::PushButton5_Click() {
    SaveSide(2);
}

void Form1::SaveSide(int side) {
    const SavePlan& save = SideOf(side);
    Pane& full = this->*save.full;
    Pane& result = this->*save.result;
    GuardedProcedure proc(desktop_.msgBox, save.location);
    proc.Step(0, [&] { CommonDialog1.SetFileName({}); });
    proc.Step(100, [&] { CommonDialog1.SetFlags(kSaveFlags); });
    proc.Step(102, [&] { CommonDialog1.SetDialogTitle(u"Save"_s); });
    proc.Step(104,
              [&] { CommonDialog1.SetFilter(u"Text Files(*.txt)|*.txt|All Files (*.*)|*.*|"_s); });
    proc.Step(106, [&] { CommonDialog1.ShowSave(); });
    QString path;
    proc.Step(108, [&] { path = CommonDialog1.FileName(); });
    if (proc.Test(110, [&] { return path.isEmpty(); }))
        return;
    proc.Step(112, [&] { SetMousePointer(MousePointer::Hourglass); });
    const auto saveTo = [&](Pane& pane) {
        RTB::SaveRTB(pane, path, desktop_.fileSystem, desktop_.msgBox, desktop_.pump);
    };
    if (proc.Test(114, [&] { return full.Visible(); }))
        proc.Step(116, [&] { saveTo(full); });
    else if (proc.Test(118, [&] { return result.Visible(); }))
        proc.Step(120, [&] { saveTo(result); });
    else
        proc.Step(122, [&] { desktop_.msgBox.Show(u"savertb problem"_s, MsgBoxStyle::OkOnly); });
    proc.Step(124, [&] { SetMousePointer(MousePointer::Default); });
}
