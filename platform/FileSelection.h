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
