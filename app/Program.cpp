// The window's program: reads its command line, builds the window on the real desktop services,
// shows it and then opens what the command line named.
#include "app/CommandLineStart.h"
#include "app/Form1.h"
#include "app/MemoryBound.h"
#include "app/Product.h"
#include "app/WindowCommandLine.h"
#include "platform/QtEventPump.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMsgBox.h"
#include "platform/QtProcessControl.h"
#include "platform/QtRulesDialog.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/StdRandomGenerator.h"
#include "platform/SystemClock.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

namespace {

// Start-up may ask the user something (a settings file that could not be read) before the window
// shows; what the command line named opens once the window is up, so that the user sees the loads
// and the comparison happen.
Task<> StartWindow(Form1& window, WindowCommandLine commandLine) {
    co_await window.Form_Load();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    co_await OpenFromCommandLine(window, std::move(commandLine));
}

} // namespace

int main(int argc, char** argv) {
    // Read before the application object exists: that one needs a display.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const auto parsed = ParseWindowCommandLine(arguments);
    if (const auto* exit = std::get_if<CommandLineExit>(&parsed))
        return PrintCommandLineExit(*exit, stdout, stderr);
    const auto& commandLine = std::get<WindowCommandLine>(parsed);

    MemoryBound::HandBackFreedMemory();
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(Product::kAppId);
    QtMsgBox msgBox;
    QtFileDialog fileDialog;
    QtSettingsStore settings;
    QtShell shell;
    QtFileSystem fileSystem;
    QtEventPump pump;
    QtProcessControl process;
    StdRandomGenerator random;
    QtRulesDialog rulesDialog;
    Form1 window(Desktop{msgBox, fileDialog, settings, shell, fileSystem, pump, process, random,
                         rulesDialog, &SecondsSinceMidnight});
    msgBox.SetParentWindow(&window);
    fileDialog.SetParentWindow(&window);
    rulesDialog.SetParentWindow(&window);
    StartWindow(window, commandLine);
    return QApplication::exec();
}
