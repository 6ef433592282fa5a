#pragma once

#include "platform/EventPump.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/MsgBox.h"
#include "platform/ProcessControl.h"
#include "platform/RandomGenerator.h"
#include "platform/RulesDialog.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <functional>

// Everything the window asks of the desktop, handed in so that tests can stand in for it.
struct Desktop {
    MsgBox& msgBox;
    FileDialog& fileDialog;
    SettingsStore& settings;
    Shell& shell;
    FileSystem& fileSystem;
    EventPump& pump;
    ProcessControl& process;
    RandomGenerator& random;
    RulesDialog& rulesDialog;
    std::function<double()> secondsSinceMidnight;
};
