#include "presence/presencereader.h"

#include "presence/splitbydelimiter.h"

#include <limits>

namespace {

bool equalsFolded(QStringView text, QStringView lowerNeedle) {
    for (qsizetype i = 0; i < lowerNeedle.size(); ++i)
        if (text[i].toLower() != lowerNeedle[i])
            return false;
    return true;
}

// Finds lowerNeedle in text as if text were lower-cased, without lower-casing the whole page:
// the scan jumps between occurrences of a caseless anchor character of the needle.
qsizetype indexOfFolded(QStringView text, QStringView lowerNeedle, qsizetype anchorAt,
                        qsizetype from) {
    const QChar anchor = lowerNeedle[anchorAt];
    qsizetype at = from + anchorAt;
    while ((at = text.indexOf(anchor, at)) >= 0) {
        const qsizetype start = at - anchorAt;
        if (start + lowerNeedle.size() <= text.size() &&
            equalsFolded(text.sliced(start), lowerNeedle))
            return start;
        ++at;
    }
    return -1;
}

} // namespace

PresenceReading readPresence(QStringView page) {
    static constexpr QStringView marker = u"online now:";
    static constexpr QStringView endTag = u"</font>";

    PresenceReading reading;
    const qsizetype begin = indexOfFolded(page, marker, marker.size() - 1, 0);
    if (begin < 0)
        return reading;
    const qsizetype end = indexOfFolded(page, endTag, 0, begin + marker.size());
    if (end < 0)
        return reading;
    reading.found = true;

    const QString line = page.sliced(begin, end - begin).toString().toLower();
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0)
        return reading;
    const QStringView names = QStringView(line).sliced(bar + 1);
    // One pass per piece at most, so the limit never cuts a real line short.
    const int limit =
        static_cast<int>(std::min<qsizetype>(names.size() + 1, std::numeric_limits<int>::max()));
    reading.entries = SplitByDelimiter(u'|', names, limit);
    reading.count = reading.entries.size();
    return reading;
}
