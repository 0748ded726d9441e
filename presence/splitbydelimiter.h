// Cuts a text at a one-character delimiter, dropping empty pieces.
#pragma once

#include <QString>
#include <QStringList>

// At most limit passes; the text left when the limit stops the loop becomes the last piece,
// delimiters and all. Pieces keep their spaces.
QStringList SplitByDelimiter(QChar delimiter, QStringView text, int limit);
