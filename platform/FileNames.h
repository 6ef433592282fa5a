#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names as the system spells them, bytes in no promised encoding, carried in a QString
// without loss: UTF-8 reads as its characters, and each byte that is no part of valid UTF-8 as a
// lone surrogate U+DC80..U+DCFF, which no decoded name ever holds. Encode gives the bytes back.
namespace FileNames {

QString Decode(QByteArrayView bytes);
QByteArray Encode(QStringView name);
// The name for messages: each byte that was not UTF-8 shows as U+FFFD.
QString Shown(QStringView name);
// The process's current folder, absolute; empty when the system cannot say (it was removed).
QString CurrentFolder();

} // namespace FileNames
