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
    TextAndForm loaded;
    TextLines lines;
    const TextBeside beside = TextBesideIn(other);
    {
        WorkProgress progress({&pane});
        co_await pump.RunAside(
            [&] {
                RefuseTextThatCannotFit(fileSystem, path, beside);
                loaded = ReadTextFileAndForm(fileSystem, path);
                loaded.text.reserve(loaded.text.size() + 1); // room for the CR every load appends
                lines = TextLines(loaded.text);
            },
            [&] { progress.Show(0, 0); });
    }
    if (!token.Holds())
        co_return false;
    pane.SetText(std::move(loaded.text), std::move(lines));
    pane.SetFileForm(std::move(loaded.form));
    co_return true;
}

} // namespace RTB
