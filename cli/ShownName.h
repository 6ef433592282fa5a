#pragma once

#include <QByteArray>

// The name the report gives a file given as `path`: the last part of the path, as the system
// spells it, when that is a name of the file's own. Where it is not, the path as given: "-"
// (standard input), and whatever leads into /dev or /proc, where the last part is the system's
// name for a descriptor or a device ("63" of /dev/fd/63, which a process substitution gives,
// "stdin", "0" of /proc/self/fd/0).
QByteArray ShownName(const QByteArray& path);
