#include "platform/PaneSnapshot.h"

#include <algorithm>

void PaneSnapshot::ForEachPiece(qsizetype units,
                                const std::function<void(QStringView)>& piece) const {
    units = std::max<qsizetype>(units, 1);
    QString spelled;
    for (qsizetype from = 0; from < Length(); from += units) {
        const qsizetype to = std::min(Length(), from + units);
        if (!list_) {
            piece(QStringView(text_).sliced(from, to - from));
            continue;
        }
        spelled.clear();
        list_->AppendUnits(from, to, spelled);
        piece(spelled);
    }
}
