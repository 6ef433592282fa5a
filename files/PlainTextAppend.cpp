#include "files/PlainTextAppend.h"

void AppendCarriageReturn(Pane& pane) {
    pane.AppendText(u"\r");
    const TextRange all{0, pane.Text().size()};
    pane.ColourRanges(std::span(&all, 1), kBlack);
    pane.SetSelStart(0);
}
