#pragma once

#include <QString>
#include <QStringList>

// The chosen files in the form the file dialog's FileName reports them, with native separators:
// - nothing chosen: the empty string;
// - one file: its full path;
// - several: the folder they share, then each file's name (relative to that folder), separated
//   by NUL, with no NUL at the end. The folder has no trailing separator unless it is a root.
// Throws Failure when several files share no folder at all (different drives).
QString JoinedSelection(const QStringList& paths);

// The chosen files in the order a file dialog's name box names them (`"c.txt" "a.txt"`, or one
// name alone): the order the user typed or picked them in, which the dialog's list of the folder
// may have sorted since. Files the box does not name follow in the order given.
QStringList InNamedOrder(const QStringList& paths, const QString& nameBox);
