#pragma once

#include "platform/PaneSegments.h"
#include "platform/TextRange.h"

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <functional>
#include <memory>
#include <unordered_map>

class PaneText;

// The laid-out pieces of a pane's text (see PaneSegments), made when first drawn or asked about
// and kept while they stay near the screen. A piece's colours are part of its layout: drawing
// colours given apart costs a clip of the row for each coloured run, and a row of red words has
// dozens.
class PaneLayouts {
public:
    struct Laid {
        QTextLayout layout;
        TextRange bounds; // the piece's units in the text
        qreal height = 0;
    };

    // The colours of a stretch of the text, as formats relative to its start.
    using Colouring = std::function<QList<QTextLayout::FormatRange>(TextRange)>;

    PaneLayouts(const PaneSegments& segments, Colouring colouring)
        : segments_(segments), colouring_(std::move(colouring)) {}

    // The text to lay out from now on (a pane may hold a new object); forgets every layout.
    void SetText(const PaneText& text);
    void SetFont(const QFont& font);
    void SetWidth(qreal width);
    // Text being composed by an input method, shown at `position` without being in the text.
    void SetPreedit(qsizetype position, const QString& text,
                    const QList<QTextLayout::FormatRange>& formats);
    qsizetype PreeditPosition() const { return preeditAt_; }
    const QString& Preedit() const { return preedit_; }
    // Forgets every layout (the text, its lines or the font changed).
    void Clear();
    // Keeps only the layouts of segments [first, last].
    void KeepOnly(qsizetype first, qsizetype last);

    const Laid& At(qsizetype segment);

private:
    std::unique_ptr<Laid> Lay(qsizetype segment) const;

    const PaneText* text_ = nullptr;
    const PaneSegments& segments_;
    Colouring colouring_;
    QFont font_;
    qreal width_ = 100;
    qsizetype preeditAt_ = -1;
    QString preedit_;
    QList<QTextLayout::FormatRange> preeditFormats_;
    std::unordered_map<qsizetype, std::unique_ptr<Laid>> laid_;
};
