#include "files/SaveRTB.h"

#include "app/Main.h"
#include "files/TextFileWriter.h"
#include "platform/WorkProgress.h"

#include <atomic>

using namespace Qt::StringLiterals;

namespace RTB {

Task<> SaveRTB(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box,
               EventPump& pump) {
    if (Main::FileExists(fileSystem, path)) {
        const QString question = u"Are you sure you wish to overwrite "_s + path + u" ?"_s;
        if (co_await box.Show(question, MsgBoxStyle::YesNo) != MsgBoxResult::Yes)
            co_return;
    }
    constexpr qsizetype kPieceUnits = qsizetype{1} << 20;
    const PaneSnapshot text = pane.Snapshot();
    std::atomic<qsizetype> written = 0;
    WorkProgress progress({&pane});
    co_await pump.RunAside(
        [&] {
            TextFileWriter file(fileSystem, path);
            text.ForEachPiece(kPieceUnits, [&](QStringView piece) {
                file.Write(piece);
                written += piece.size();
            });
            file.Commit();
        },
        [&] {
            progress.Show(static_cast<std::size_t>(written.load()),
                          static_cast<std::size_t>(text.Length()));
        });
}

} // namespace RTB
