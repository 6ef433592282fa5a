#include "files/PaneLoaders.h"

#include "app/Main.h"

namespace RTB {

void LoadFileIn(Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box) {
    if (Main::FileExists(fileSystem, path))
        pane.LoadFile(path);
    else
        box.Show(QStringLiteral("File not found"), MsgBoxStyle::OkOnly);
}

} // namespace RTB
