#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// Devices made in a test's own folder, so that no test writes to, reads from or could replace the
// machine's own /dev/null, /dev/zero or /dev/full: a faulty build harms only the copy.
struct DeviceNumbers {
    unsigned major;
    unsigned minor;
};
inline constexpr DeviceNumbers kNullDevice{1, 3};
inline constexpr DeviceNumbers kZeroDevice{1, 5};
inline constexpr DeviceNumbers kFullDevice{1, 7};

// The device's path, or an empty one where making devices is not permitted (skip that row).
inline QString MakeDeviceIn(const QTemporaryDir& dir, const QString& name, DeviceNumbers device) {
    const QString path = dir.filePath(name);
    const dev_t number = makedev(device.major, device.minor);
    if (mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, number) != 0)
        return {};
    return path;
}

// The same, for a test that must use the device: empty too where it may be made but not opened
// (a folder on a file system mounted without devices).
inline QString MakeWorkingDeviceIn(const QTemporaryDir& dir, const QString& name,
                                   DeviceNumbers device) {
    const QString path = MakeDeviceIn(dir, name, device);
    const int fd = path.isEmpty() ? -1 : open(QFile::encodeName(path).constData(), O_RDWR);
    if (fd < 0)
        return {};
    close(fd);
    return path;
}
