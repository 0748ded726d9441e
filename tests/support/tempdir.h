// A scratch working directory for one test, with helpers to lay out files byte for byte.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    QDir dir() const { return QDir(temp_.path()); }
    QString path(const QString& name) const { return temp_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // File names in the directory, so a test can see that nothing else was written.
    QStringList entries() const;

private:
    QTemporaryDir temp_;
};

// Makes writes past the given size fail for this process while it lives (even for root), so a
// test can make a save fail half-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long previous_[2];
};
