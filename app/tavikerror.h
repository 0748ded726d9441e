// The one error type the program raises; its message goes to the status line unchanged.
#pragma once

#include <QString>
#include <exception>

class TavikError : public std::exception {
public:
    explicit TavikError(QString message);

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
