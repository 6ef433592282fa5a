#include "app/CommandLineStart.h"

#include "app/Form1.h"

Task<> OpenFromCommandLine(Form1& window, WindowCommandLine commandLine) {
    if (commandLine.rules)
        window.UseRules(*commandLine.rules);
    for (qsizetype i = 0; i < commandLine.files.size(); ++i) {
        const QStringList file(commandLine.files[i]);
        co_await window.LoadDroppedFiles(static_cast<int>(i) + 1, file);
    }
    switch (commandLine.comparison) {
    case WindowCommandLine::Comparison::Lines:
        co_await window.PushButton1_Click();
        break;
    case WindowCommandLine::Comparison::Words:
        co_await window.PushButton6_Click();
        break;
    case WindowCommandLine::Comparison::None:
        break;
    }
}
