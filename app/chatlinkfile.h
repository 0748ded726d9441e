// The per-user chat-link file: the link alone on the first line of "<user name>.url".
#pragma once

#include <QDir>
#include <QString>

namespace ChatLinkFile {

// The file's name for a user; throws TavikError when the name would lead outside the
// working directory or is not a usable file name.
QString fileName(const QString& userName);

// When the user's file exists in dir, sets link to its first line and returns true.
bool read(const QDir& dir, const QString& userName, QString& link);

void write(const QDir& dir, const QString& userName, const QString& link);

} // namespace ChatLinkFile
