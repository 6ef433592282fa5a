#pragma once

#include <QtGlobal>

#include <initializer_list>

class Pane;

// What the window may hold: four times the two files it compares and 100 MB, whatever they hold.
// The texts in the full panes are the floor (two bytes a unit and four a line); what is left beside
// them decides how a comparison works, and whether a file is loaded at all.
namespace MemoryBound {

inline constexpr qint64 kFixedBytes = 100'000'000;
// What the program holds before it holds any text: its libraries, fonts and windows.
inline constexpr qint64 kProgramBytes = qint64{40} << 20;

// What comparing two texts by lines takes at the least, a line of the text with fewer: one table
// of that text's lines and a byte each.
inline constexpr qint64 kLineTableBytesPerLine = 17;

// The bound for files of `fileBytes` together.
qint64 ForFiles(qint64 fileBytes);
// The size of the file that a pane's text came from, at least: each of its line breaks may have
// been one byte, and every other unit at least one.
qint64 FileBytesOf(const Pane& full);
// What a pane holds for a text of `units` code units in `lines` lines: the text and its line index.
constexpr qint64 TextBytes(qint64 units, qint64 lines) {
    return 2 * units + 4 * lines;
}
// What may still be taken beside what the panes hold, within the bound for the two full panes'
// files; negative when they hold more.
qint64 Room(const Pane& full1, const Pane& full2, std::initializer_list<const Pane*> others);

// Has the memory of every large block freed go back to the system at once. Without it the C
// library keeps blocks of up to 32 MB once freed, for reuse, and a text of millions of lines, whose
// line index grows through such blocks, leaves tens of megabytes held that nothing uses.
void HandBackFreedMemory();

// Sets the fixed part while it lives: tests reach the bound with small texts through it.
class ScopedFixedBytes {
public:
    explicit ScopedFixedBytes(qint64 bytes);
    ~ScopedFixedBytes();
    ScopedFixedBytes(const ScopedFixedBytes&) = delete;
    ScopedFixedBytes& operator=(const ScopedFixedBytes&) = delete;

private:
    qint64 before_;
};

} // namespace MemoryBound
