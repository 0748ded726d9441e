#include "tempdir.h"

#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

TempDir::TempDir() {
    QVERIFY2(temp_.isValid(), "cannot make a temporary directory");
}

void TempDir::write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TempDir::read(const QString& name) const {
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempDir::exists(const QString& name) const {
    return QFile::exists(path(name));
}

QStringList TempDir::entries() const {
    return dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

FileSizeLimit::FileSizeLimit(long bytes) {
    // Writes past the limit then fail with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_[0] = limit.rlim_cur;
    previous_[1] = limit.rlim_max;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    limit.rlim_cur = previous_[0];
    limit.rlim_max = previous_[1];
    setrlimit(RLIMIT_FSIZE, &limit);
}
