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

namespace {

qint64 Need(qint64 bytes, qint64 lfs, qint64 crs, const TextBeside& other) {
    const qint64 units = bytes + lfs + 1;
    const qint64 lines = lfs + crs + 2;
    // The line comparison's one table, of the text with fewer lines, at the least.
    const qint64 compared = MemoryBound::kLineTableBytesPerLine * std::min(lines, other.lines);
    // A file with both CRs and LFs may mix kinds of break, each then noted for a save.
    const qint64 breakKinds = crs > 0 && lfs > 0 ? LineBreakKinds::MemoryBytesFor(lines) : 0;
    return MemoryBound::TextBytes(units, lines) + breakKinds + other.heldBytes + compared +
           MemoryBound::kProgramBytes;
}

bool Fits(qint64 need, qint64 bytes, const TextBeside& other) {
    return need <= MemoryBound::ForFiles(bytes + other.fileBytes);
}

} // namespace

bool MayNotFit(const FileSystem& fileSystem, const QString& path, const TextBeside& other) {
    try {
        const qint64 bytes = fileSystem.OpenForReading(path)->SizeHint();
        return bytes >= 0 && bytes <= kMaxTextFileBytes &&
               !Fits(Need(bytes, bytes, bytes, other), bytes, other);
    } catch (...) {
        return false; // its load will say why it cannot be read
    }
}

void RefuseTextThatCannotFit(const FileSystem& fileSystem, const QString& path,
                             const TextBeside& other) {
    const std::unique_ptr<InputFile> file = fileSystem.OpenForReading(path);
    const qint64 bytes = file->SizeHint();
    if (bytes < 0 || bytes > kMaxTextFileBytes)
        return; // read as it comes, or refused by its reading

    const Breaks breaks = CountBreaks(*file);
    const qint64 need = Need(bytes, breaks.lfs, breaks.crs, other);
    if (!Fits(need, bytes, other))
        throw Failure(QStringLiteral("%1 is too large for the memory the window may use: its text "
                                     "would take about %2 MB beside the other text")
                          .arg(QFileInfo(path).fileName())
                          .arg((need - other.heldBytes) / 1'000'000));
}
