// "Load Sample/Example Files": the two sample texts installed with the program.
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Main.h"
#include "files/PaneLoaders.h"
#include "files/PlainTextAppend.h"
#include "platform/FileNames.h"

#include <QDir>

using namespace Qt::StringLiterals;

Task<> Form1::PushButton9_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton9_Click "_s);
    const QString sep = QDir::separator();
    // Beside the program, or in the shared data of an installed one; the folder is used as given,
    // without cleaning up a separator it may end with.
    const auto sampleFolder = [&] {
        return Main::ProgramFilePath(desktop_.fileSystem, u"Samples"_s) + sep;
    };
    const auto samplePath = [&](const QString& name) { return sampleFolder() + name; };
    // Both sides are loaded here: a later load into either, or clearing, supersedes this one.
    const LoadsInFlight::Ticket first = loads_.Begin(RichTextBox1);
    const LoadsInFlight::Ticket second = loads_.Begin(RichTextBox2);
    QString path;
    co_await proc.Step(106, [&] { path = samplePath(u"sample1.txt"_s); });
    co_await proc.Step(108, [&]() -> Task<> {
        if (co_await RTB::LoadFileIn1(panes, path, desktop_.fileSystem, desktop_.msgBox,
                                      desktop_.pump))
            SetSideFile(1, path);
    });
    co_await proc.Step(110, [&] { path = samplePath(u"sample2.txt"_s); });
    co_await proc.Step(112, [&]() -> Task<> {
        if (co_await RTB::LoadFileIn2(panes, path, desktop_.fileSystem, desktop_.msgBox,
                                      desktop_.pump))
            SetSideFile(2, path);
    });
    if (first.Current())
        co_await proc.Step(116, [&] { AppendCarriageReturn(RichTextBox1); });
    if (second.Current())
        co_await proc.Step(118, [&] { AppendCarriageReturn(RichTextBox2); });
    co_await proc.Step(120, [&] { SetOptionValue(Option1, true); });
    const QString question =
        u"Would you like this software to open the folder where these sample files are stored "
        u"(so that you can view them before working with them)?"_s;
    if (!co_await proc.Test(122, [&]() -> Task<bool> {
            co_return co_await desktop_.msgBox.Show(question, MsgBoxStyle::YesNo) ==
                MsgBoxResult::Yes;
        }))
        co_return;
    // A desktop without a file manager opens nothing: the user is told where the files are.
    co_await proc.Step(124, [&]() -> Task<> {
        const QString folder = sampleFolder();
        if (!desktop_.shell.OpenFolder(folder))
            co_await desktop_.msgBox.Show(u"The folder could not be opened: this desktop has no "
                                          u"program to show it. The sample files are in "_s +
                                              FileNames::Shown(folder),
                                          MsgBoxStyle::OkOnly);
    });
}
