#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A pane's text has every line break as CR LF. These helpers bring decoded text to that form
// without building it twice: the lone CRs and lone LFs are counted first (each grows by one unit),
// so that the result can be allocated once at its final size.

// Lone CRs and LFs in 8-bit text (UTF-8 or an 8-bit code page, where both are single bytes).
qsizetype CountLoneLineBreaks(QByteArrayView eightBitText);
// The same in UTF-16 text given as bytes in either byte order.
qsizetype CountLoneLineBreaksUtf16(QByteArrayView utf16Bytes, bool bigEndian);
// The same in text already decoded.
qsizetype CountLoneLineBreaks(QStringView text);

// Collects text arriving in pieces, writing every CR LF, lone CR and lone LF as CR LF. A CR LF
// split between two pieces is still one break.
class CrLfWriter {
public:
    // `expectedSize` is the length of the finished text; a wrong guess costs time, not safety.
    explicit CrLfWriter(qsizetype expectedSize);

    void Write(QStringView piece);
    QString Finish() &&;

private:
    qsizetype Room() const { return text_.size() - size_; }
    void WriteWithinRoom(QStringView piece);
    void Grow();

    QString text_;
    qsizetype size_ = 0;
    bool afterCR_ = false;
};

// `text` with every line break as CR LF.
QString WithCrLfLineBreaks(QStringView text);
