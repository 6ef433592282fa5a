#include "files/SaveRTB.h"

#include "app/Main.h"
#include "files/TextFileWriter.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace RTB {

QByteArray EncodeForSaving(const QString& text) {
    QStringEncoder encoder(QStringEncoder::System);
    return encoder(text);
}

void SaveRTB(const Pane& pane, const QString& path, const FileSystem& fileSystem, MsgBox& box) {
    if (Main::FileExists(fileSystem, path)) {
        const QString question = u"Are you sure you wish to overwrite "_s + path + u" ?"_s;
        if (box.Show(question, MsgBoxStyle::YesNo) != MsgBoxResult::Yes)
            return;
    }
    TextFileWriter file(fileSystem, path);
    file.Write(pane.Text());
    file.Commit();
}

} // namespace RTB
