// "Save Results #1" and "Save Results #2": the pane of the side that is on show goes to a file,
// as text or as CSV with line numbers.
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

// The filter the user picks in the dialog decides how the file is written.
const QString kSaveFilter = u"Text Files(*.txt)|*.txt|All Files (*.*)|*.*|"
                            u"CSV with line numbers (*.csv)|*.csv|"_s;
constexpr int kCsvFilter = 2;

} // namespace

Task<> Form1::PushButton2_Click() {
    return SaveSide(1);
}

Task<> Form1::PushButton5_Click() {
    return SaveSide(2);
}

// A save asked for while a file is still loading writes the text once it is in.
Task<> Form1::SaveSide(int side) {
    const SavePlan& save = SideOf(side);
    Pane& full = this->*save.full;
    Pane& result = this->*save.result;
    GuardedProcedure proc(desktop_.msgBox, save.location);
    co_await proc.Step(0, [&] { CommonDialog1.SetFileName({}); });
    co_await proc.Step(100, [&] { CommonDialog1.SetFlags(kSaveFlags); });
    co_await proc.Step(102, [&] { CommonDialog1.SetDialogTitle(u"Save"_s); });
    co_await proc.Step(104, [&] { CommonDialog1.SetFilter(kSaveFilter); });
    co_await proc.Step(106, [&] { return CommonDialog1.ShowSave(); });
    QString path;
    SaveFormat format = SaveFormat::Text;
    co_await proc.Step(108, [&] {
        path = CommonDialog1.FileName();
        if (CommonDialog1.FilterIndex() == kCsvFilter)
            format = SaveFormat::CsvWithLineNumbers;
    });
    if (co_await proc.Test(110, [&] { return path.isEmpty(); }))
        co_return;
    co_await proc.Step(112, [&]() -> Task<> {
        SetMousePointer(MousePointer::Hourglass);
        co_await loads_.Settled();
    });
    const auto saveTo = [&](Pane& pane) {
        return RTB::SaveRTB(pane, path, desktop_.fileSystem, desktop_.msgBox, desktop_.pump,
                            format);
    };
    if (co_await proc.Test(114, [&] { return full.Visible(); }))
        co_await proc.Step(116, [&] { return saveTo(full); });
    else if (co_await proc.Test(118, [&] { return result.Visible(); }))
        co_await proc.Step(120, [&] { return saveTo(result); });
    else
        co_await proc.Step(
            122, [&] { return desktop_.msgBox.Show(u"savertb problem"_s, MsgBoxStyle::OkOnly); });
    co_await proc.Step(124, [&] { SetMousePointer(MousePointer::Default); });
}
