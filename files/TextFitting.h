#pragma once

#include "platform/FileSystem.h"

#include <QString>

class Pane;

// Whether a file's text can be held in a full pane beside the other full pane's text within what
// the window may hold (see MemoryBound), weighed before the file is read: from its size and its
// line breaks, counted in small blocks that are not kept, as the most its text can take (two bytes
// for each byte and for each LF, which may become CR LF, and four bytes a line for its index),
// with room to compare the two texts by lines and to note each line break of a file that mixes
// kinds.
struct TextBeside {
    qint64 fileBytes = 0; // of the other text's file, at least
    qint64 heldBytes = 0; // what the other pane holds
    qint64 lines = 0;
};
TextBeside TextBesideIn(const Pane& other);

// Whether the file could be refused at all, weighed from its size alone, every byte taken for a
// line break: a look cheap enough for the window's thread, before the closer count aside. False
// too for a file that cannot be opened: its load says why.
bool MayNotFit(const FileSystem& fileSystem, const QString& path, const TextBeside& other);

// Throws Failure, naming the file, when its text cannot fit. A stream (a pipe, a device) has no
// size to weigh and is not refused here.
void RefuseTextThatCannotFit(const FileSystem& fileSystem, const QString& path,
                             const TextBeside& other);
