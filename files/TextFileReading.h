#pragma once

#include <QByteArray>
#include <QString>

// The text of a file as a pane shows it: see TextFileReading.cpp. Throws Failure.
QString ReadTextFile(const QString& path);
