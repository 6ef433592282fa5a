#include "files/SaveRTB.h"

#include "app/Main.h"
#include "platform/Failure.h"

#include <QSaveFile>
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(file.errorString());
    const QByteArray bytes = EncodeForSaving(pane.Text());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Failure(file.errorString());
}

} // namespace RTB
