#include "presence/splitbydelimiter.h"

QStringList SplitByDelimiter(QChar delimiter, QStringView text, int limit) {
    QStringList pieces;
    qsizetype start = 0;
    int passes = 0;
    qsizetype at = text.indexOf(delimiter);
    while (at >= 0 && passes < limit) {
        at = text.indexOf(delimiter, start);
        ++passes;
        // The pass that finds no delimiter still counts; it ends the loop.
        if (at < 0)
            break;
        if (at > start)
            pieces.append(text.sliced(start, at - start).toString());
        start = at + 1;
    }
    if (start < text.size())
        pieces.append(text.sliced(start).toString());
    return pieces;
}
