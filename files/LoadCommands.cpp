// "Load Text File #1" and "Load Text File #2", and files dropped on a full pane.
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Main.h"
#include "app/MousePointer.h"
#include "files/PaneLoaders.h"
#include "files/PlainTextAppend.h"
#include "platform/FileDialog.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// The numbered statements of one side's load procedure.
struct LoadSteps {
    int hourglass;
    int cut;
    int empty;
    int oneFile;
    int loadOne;
    int hourglassAgain;
    int joinPath;
    int normalize;
    int loadEach;
    int pointerAfterLoop;
    int appendCR;
    int selectFullView;
    int pointerDefault;
};

struct LoadPlan {
    Pane Form1::*pane;
    QString location;
    LoadSteps steps;
};

const LoadPlan& SideOf(int side) {
    static const LoadPlan sides[] = {
        {&Form1::RichTextBox1,
         u"in Tarnwick2021/08/31.Form1.PushButton3_Click "_s,
         {112, 114, 116, 118, 122, 130, 134, 136, 138, 142, 144, 146, 148}},
        {&Form1::RichTextBox2,
         u"in Tarnwick2021/08/31.Form1.PushButton4_Click "_s,
         {114, 110, 112, 116, 120, 128, 130, 130, 132, 134, 136, 138, 140}},
    };
    return sides[side - 1];
}

const int kOpenFlags = FileDialogFlags::ReadOnly | FileDialogFlags::AllowMultiSelect |
                       FileDialogFlags::Explorer | FileDialogFlags::LongNames;

} // namespace

void Form1::PushButton3_Click() {
    LoadSide(1, true, {});
}

void Form1::PushButton4_Click() {
    LoadSide(2, true, {});
}

void Form1::LoadDroppedFiles(int side, const QStringList& paths) {
    LoadSide(side, false, paths);
}

// One side's load: from the dialog's selection (one full path, or a folder and names), or from
// files dropped on the pane (full paths). Each file in turn replaces the pane's content; then the
// pane gains one CR and the full view is selected.
void Form1::LoadSide(int side, bool fromDialog, const QStringList& dropped) {
    const LoadPlan& load = SideOf(side);
    const LoadSteps& step = load.steps;
    Pane& pane = this->*load.pane;
    GuardedProcedure proc(desktop_.msgBox, load.location);
    if (fromDialog) {
        proc.Step(100, [&] { CommonDialog1.SetFileName({}); });
        proc.Step(102, [&] { CommonDialog1.SetFlags(kOpenFlags); });
        proc.Step(104, [&] {
            CommonDialog1.SetDialogTitle(
                u"Load List(s) - Hold Ctrl to select multiple list files"_s);
        });
        proc.Step(106, [&] {
            CommonDialog1.SetFilter(u"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"_s);
        });
        proc.Step(108, [&] { CommonDialog1.ShowOpen(); });
        if (proc.Test(110, [&] { return CommonDialog1.FileName().isEmpty(); }))
            return;
    }
    proc.Step(step.hourglass, [&] { SetMousePointer(MousePointer::Hourglass); });
    QStringList selection = dropped;
    if (fromDialog)
        proc.Step(step.cut, [&] { selection = CommonDialog1.FileName().split(QChar(0)); });
    proc.Step(step.empty, [&] { pane.SetText({}); });
    const auto loadFile = [&](const QString& path) {
        RTB::LoadFileIn(pane, path, desktop_.fileSystem, desktop_.msgBox, desktop_.pump,
                        &pane == &RichTextBox1 ? RichTextBox2 : RichTextBox1);
    };
    if (proc.Test(step.oneFile, [&] { return selection.size() == 1; })) {
        proc.Step(step.loadOne, [&] { loadFile(selection.value(0)); });
    } else if (selection.size() >= 2) {
        proc.Step(step.hourglassAgain, [&] { SetMousePointer(MousePointer::Hourglass); });
        // A dialog gives the folder first and then the names; a drop gives full paths.
        for (qsizetype i = fromDialog ? 1 : 0; i < selection.size(); ++i) {
            QString path = selection[i];
            if (fromDialog) {
                proc.Step(step.joinPath,
                          [&] { path = selection[0] + QDir::separator() + selection[i]; });
                proc.Step(step.normalize, [&] { path = Main::NormalizePath(path); });
            }
            proc.Step(step.loadEach, [&] { loadFile(path); });
        }
        proc.Step(step.pointerAfterLoop, [&] { SetMousePointer(MousePointer::Default); });
    }
    proc.Step(step.appendCR, [&] { AppendCarriageReturn(pane); });
    proc.Step(step.selectFullView, [&] { SetOptionValue(Option1, true); });
    proc.Step(step.pointerDefault, [&] { SetMousePointer(MousePointer::Default); });
}
