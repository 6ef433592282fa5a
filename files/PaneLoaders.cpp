#include "files/PaneLoaders.h"

#include "app/Main.h"
#include "files/TextFileReading.h"
#include "files/TextFitting.h"
#include "platform/PaneToken.h"
#include "platform/TextLines.h"
#include "platform/WorkProgress.h"

namespace RTB {

Task<bool> LoadFileIn(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box,
                      EventPump& pump, const Pane& other) {
    if (!Main::FileExists(fileSystem, path)) {
        co_await box.Show(QStringLiteral("File not found"), MsgBoxStyle::OkOnly);
        co_return false;
    }
    const PaneToken token{&pane};
    QString text;
    TextLines lines;
    const TextBeside beside = TextBesideIn(other);
    {
        WorkProgress progress({&pane});
        co_await pump.RunAside(
            [&] {
                RefuseTextThatCannotFit(fileSystem, path, beside);
                text = ReadTextFile(fileSystem, path);
                text.reserve(text.size() + 1); // room for the CR that every load appends
                lines = TextLines(text);
            },
            [&] { progress.Show(0, 0); });
    }
    if (!token.Holds())
        co_return false;
    pane.SetText(std::move(text), std::move(lines));
    co_return true;
}

} // namespace RTB
