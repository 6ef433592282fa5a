#include "files/PaneLoaders.h"

#include "app/Main.h"
#include "files/TextFileReading.h"
#include "files/TextFitting.h"
#include "platform/TextLines.h"
#include "platform/WorkProgress.h"

namespace RTB {

void LoadFileIn(Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box,
                EventPump& pump, const Pane& other) {
    if (!Main::FileExists(fileSystem, path)) {
        box.Show(QStringLiteral("File not found"), MsgBoxStyle::OkOnly);
        return;
    }
    QString text;
    TextLines lines;
    WorkProgress progress({&pane});
    const TextBeside beside = TextBesideIn(other);
    pump.RunAside(
        [&] {
            RefuseTextThatCannotFit(fileSystem, path, beside);
            text = ReadTextFile(fileSystem, path);
            text.reserve(text.size() + 1); // room for the CR that every load appends
            lines = TextLines(text);
        },
        [&] { progress.Show(0, 0); }, false);
    pane.SetText(std::move(text), std::move(lines));
}

} // namespace RTB
