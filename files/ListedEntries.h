#pragma once

#include "platform/ResultList.h"

#include <QStringView>

#include <functional>

// An entry of a list of differences as a file of results holds it: its own units, without the LF
// that cutting a text at CR leaves in front of a line or the CR that a load appends to a text,
// and where it stands in the text it was found in.
struct ListedEntry {
    QStringView units;
    qsizetype line = 0; // from 1, as the list's comparison cuts its text into lines
    qsizetype word = 0; // from 1, within its line; 0 in a list of lines
};

// Calls visit() for each entry of the list, in order, in one walk through its text. An entry
// that stands only for the CR a load appends (the empty line after it, the empty line before it
// when the file ended with a line break, a line of words that is nothing but it) is no line of
// the file, and is left out.
void ForEachListedEntry(const ResultList& list,
                        const std::function<void(const ListedEntry&)>& visit);
