#pragma once

#include <QString>
#include <QStringView>

// What the window tells of one side's text: the file it was loaded from, text the user typed or
// pasted, or nothing at all.
struct SideName {
    enum class Kind { Empty, Typed, File };
    Kind kind = Kind::Empty;
    QString path; // for a file: its full path, as the system spells it

    // The side in the window's caption: the file's name, "(typed text)" or "(empty)".
    QString Caption() const;
    // The side in its panes' tooltips: the file's full path; nothing for a side without a file.
    QString Origin() const;
};

// The window's caption: the product's name alone until either side holds something, then both
// sides' names before it, "report-old.txt ↔ report-new.txt — Tarnwick".
QString WindowTitle(const SideName& one, const SideName& two, QStringView product);
