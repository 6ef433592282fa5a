#include "app/Form1.h"
#include "platform/QtEventPump.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMsgBox.h"
#include "platform/QtProcessControl.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/StdRandomGenerator.h"
#include "platform/SystemClock.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtMsgBox msgBox;
    QtFileDialog fileDialog;
    QtSettingsStore settings;
    QtShell shell;
    QtFileSystem fileSystem;
    QtEventPump pump;
    QtProcessControl process;
    StdRandomGenerator random;
    Form1 window(Desktop{msgBox, fileDialog, settings, shell, fileSystem, pump, process, random,
                         &SecondsSinceMidnight});
    msgBox.SetParentWindow(&window);
    fileDialog.SetParentWindow(&window);
    window.Form_Load();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
