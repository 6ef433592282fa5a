#include "app/CommandLineStart.h"

#include "app/Form1.h"

void OpenFromCommandLine(Form1& window, const WindowCommandLine& commandLine) {
    for (qsizetype i = 0; i < commandLine.files.size(); ++i)
        window.LoadDroppedFiles(static_cast<int>(i) + 1, {commandLine.files[i]});
    switch (commandLine.comparison) {
    case WindowCommandLine::Comparison::Lines:
        window.PushButton1_Click();
        break;
    case WindowCommandLine::Comparison::Words:
        window.PushButton6_Click();
        break;
    case WindowCommandLine::Comparison::None:
        break;
    }
}
