#include "files/PlainTextAppend.h"

void AppendCarriageReturn(Pane& pane) {
    const bool asInFile = pane.AsInFile();
    pane.AppendText(u"\r");
    if (asInFile)
        pane.SetFileForm(pane.FileForm()); // a save leaves this CR out again
    const TextRange all{0, pane.Text().size()};
    pane.ColourRanges(std::span(&all, 1), kBlack);
    pane.SetSelStart(0);
}
