// "Load Text File #1" and "Load Text File #2", and files dropped on a full pane.
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Main.h"
#include "app/MousePointer.h"
#include "files/PaneLoaders.h"
#include "files/PlainTextAppend.h"
#include "files/TextFitting.h"
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

Task<> Form1::PushButton3_Click() {
    return LoadSide(1, true, {});
}

Task<> Form1::PushButton4_Click() {
    return LoadSide(2, true, {});
}

Task<> Form1::LoadDroppedFiles(int side, const QStringList& paths) {
    return LoadSide(side, false, paths);
}

// One side's load: from the dialog's selection (one full path, or a folder and names), or from
// files dropped on the pane (full paths). Each file in turn replaces the pane's content; then the
// pane gains one CR and the full view is selected. A later load into the same side, or clearing,
// supersedes this one: it then loads nothing more and leaves the pane to the newer command.
Task<> Form1::LoadSide(int side, bool fromDialog, QStringList dropped) {
    const LoadPlan& load = SideOf(side);
    const LoadSteps& step = load.steps;
    Pane& pane = this->*load.pane;
    GuardedProcedure proc(desktop_.msgBox, load.location);
    if (fromDialog) {
        co_await proc.Step(100, [&] { CommonDialog1.SetFileName({}); });
        co_await proc.Step(102, [&] { CommonDialog1.SetFlags(kOpenFlags); });
        co_await proc.Step(104, [&] {
            CommonDialog1.SetDialogTitle(
                u"Load List(s) - Hold Ctrl to select multiple list files"_s);
        });
        co_await proc.Step(106, [&] {
            CommonDialog1.SetFilter(u"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"_s);
        });
        co_await proc.Step(108, [&] { return CommonDialog1.ShowOpen(); });
        if (co_await proc.Test(110, [&] { return CommonDialog1.FileName().isEmpty(); }))
            co_return;
    }
    co_await proc.Step(step.hourglass, [&] { SetMousePointer(MousePointer::Hourglass); });
    const LoadsInFlight::Ticket ticket = loads_.Begin(pane);
    QStringList selection = dropped;
    if (fromDialog)
        co_await proc.Step(step.cut, [&] { selection = CommonDialog1.FileName().split(QChar(0)); });
    const Pane& other = &pane == &RichTextBox1 ? RichTextBox2 : RichTextBox1;
    // One file that cannot fit beside the other text is refused before the pane is emptied for
    // it, so that the refusal costs the user nothing (the report names the file).
    bool fits = true;
    co_await proc.Step(step.empty, [&]() -> Task<> {
        const TextBeside beside = TextBesideIn(other);
        if (selection.size() == 1 && Main::FileExists(desktop_.fileSystem, selection[0]) &&
            MayNotFit(desktop_.fileSystem, selection[0], beside)) {
            try {
                co_await desktop_.pump.RunAside(
                    [&] { RefuseTextThatCannotFit(desktop_.fileSystem, selection[0], beside); });
            } catch (...) {
                fits = false;
                throw;
            }
        }
        pane.SetText({});
    });
    if (!fits) {
        co_await proc.Step(step.pointerDefault, [&] { SetMousePointer(MousePointer::Default); });
        co_return;
    }
    const auto loadFile = [&](QString path) -> Task<> {
        if (ticket.Current() && co_await RTB::LoadFileIn(pane, path, desktop_.fileSystem,
                                                         desktop_.msgBox, desktop_.pump, other))
            SetSideFile(side, path);
    };
    if (co_await proc.Test(step.oneFile, [&] { return selection.size() == 1; })) {
        co_await proc.Step(step.loadOne, [&] { return loadFile(selection.value(0)); });
    } else if (selection.size() >= 2) {
        co_await proc.Step(step.hourglassAgain, [&] { SetMousePointer(MousePointer::Hourglass); });
        // A dialog gives the folder first and then the names; a drop gives full paths.
        for (qsizetype i = fromDialog ? 1 : 0; i < selection.size(); ++i) {
            QString path = selection[i];
            if (fromDialog) {
                co_await proc.Step(step.joinPath,
                                   [&] { path = selection[0] + QDir::separator() + selection[i]; });
                co_await proc.Step(step.normalize, [&] { path = Main::NormalizePath(path); });
            }
            co_await proc.Step(step.loadEach, [&] { return loadFile(path); });
        }
        co_await proc.Step(step.pointerAfterLoop, [&] { SetMousePointer(MousePointer::Default); });
    }
    if (ticket.Current()) {
        co_await proc.Step(step.appendCR, [&] { AppendCarriageReturn(pane); });
        co_await proc.Step(step.selectFullView, [&] { SetOptionValue(Option1, true); });
    }
    co_await proc.Step(step.pointerDefault, [&] { SetMousePointer(MousePointer::Default); });
}
