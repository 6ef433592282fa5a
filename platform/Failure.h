#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A failed operation. The description is what the common error report shows the user, so it is
// worded for them ("File not found", "Permission denied" ...), not for a developer.
class Failure : public std::exception {
public:
    explicit Failure(QString description)
        : description_(std::move(description)), utf8_(description_.toUtf8()) {}

    const QString& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString description_;
    QByteArray utf8_;
};
