#include "files/TextFitting.h"

#include "app/MemoryBound.h"
#include "files/TextFileReading.h"
#include "platform/Failure.h"
#include "platform/InputFile.h"
#include "platform/LineBreakKinds.h"
#include "platform/Pane.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

struct Breaks {
    qint64 lfs = 0;
    qint64 crs = 0;
};

Breaks CountBreaks(InputFile& file) {
    Breaks breaks;
    std::vector<char> block(std::size_t{1} << 20);
    for (std::size_t read; (read = file.Read(block.data(), block.size())) > 0;) {
        breaks.lfs += std::count(block.data(), block.data() + read, '\n');
        breaks.crs += std::count(block.data(), block.data() + read, '\r');
    }
    return breaks;
}

} // namespace

TextBeside TextBesideIn(const Pane& other) {
    return {MemoryBound::FileBytesOf(other), other.MemoryBytes(), other.Content().LineCount()};
}

void RefuseTextThatCannotFit(const FileSystem& fileSystem, const QString& path,
                             const TextBeside& other) {
    const std::unique_ptr<InputFile> file = fileSystem.OpenForReading(path);
    const qint64 bytes = file->SizeHint();
    if (bytes < 0 || bytes > kMaxTextFileBytes)
        return; // read as it comes, or refused by its reading

    const Breaks breaks = CountBreaks(*file);
    const qint64 units = bytes + breaks.lfs + 1;
    const qint64 lines = breaks.lfs + breaks.crs + 2;
    // The line comparison's one table, of the text with fewer lines, at the least.
    const qint64 compared = MemoryBound::kLineTableBytesPerLine * std::min(lines, other.lines);
    // A file with both CRs and LFs may mix kinds of break, each then noted for a save.
    const qint64 breakKinds =
        breaks.crs > 0 && breaks.lfs > 0 ? LineBreakKinds::MemoryBytesFor(lines) : 0;
    const qint64 need = MemoryBound::TextBytes(units, lines) + breakKinds + other.heldBytes +
                        compared + MemoryBound::kProgramBytes;
    if (need > MemoryBound::ForFiles(bytes + other.fileBytes))
        throw Failure(QStringLiteral("%1 is too large for the memory the window may use: its text "
                                     "would take about %2 MB beside the other text")
                          .arg(QFileInfo(path).fileName())
                          .arg((need - other.heldBytes) / 1'000'000));
}
