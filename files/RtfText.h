#pragma once

#include <QByteArrayView>
#include <QString>

// The plain text of a rich-text document, as a pane that shows it as plain text would hold it.
// Paragraph, line, section and row marks become CR LF; tabs stay tabs; formatting, tables of
// fonts, colours and styles, pictures, headers, footers and other hidden groups are dropped;
// \'hh, \uN and the other character escapes are decoded.
// Never fails: malformed input gives whatever text could be read from it, in one pass and without
// recursion, whatever its nesting.
QString RtfToPlainText(QByteArrayView rtf);
