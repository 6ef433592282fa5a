#include "files/SaveRTB.h"

#include "app/Main.h"
#include "files/TextFileWriter.h"
#include "platform/WorkProgress.h"

#include <atomic>

using namespace Qt::StringLiterals;

namespace RTB {

Task<> SaveRTB(Pane& pane, QString path, const FileSystem& fileSystem, MsgBox& box, EventPump& pump,
               SaveFormat format) {
    if (Main::FileExists(fileSystem, path)) {
        const QString question = u"Are you sure you wish to overwrite "_s + path + u" ?"_s;
        if (co_await box.Show(question, MsgBoxStyle::YesNo) != MsgBoxResult::Yes)
            co_return;
    }
    const SavedPane saved = SavedPane::Of(pane);
    std::atomic<qsizetype> done = 0;
    WorkProgress progress({&pane});
    co_await pump.RunAside(
        [&] {
            TextFileWriter file(fileSystem, path, EncodingFor(saved, format));
            WriteSavedPane(saved, format, file, done);
            file.Commit();
        },
        [&] {
            progress.Show(static_cast<std::size_t>(done.load()),
                          static_cast<std::size_t>(saved.Length()));
        });
}

} // namespace RTB
