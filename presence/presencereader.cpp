#include "presence/presencereader.h"

#include "presence/splitbydelimiter.h"

#include <limits>

PresenceReading readPresence(QStringView page)
{
    static constexpr QStringView marker = u"online now:";
    static constexpr QStringView endTag = u"</font>";

    PresenceReading reading;
    const QString lower = page.toString().toLower();
    const qsizetype begin = lower.indexOf(marker);
    if (begin < 0)
        return reading;
    const qsizetype end = lower.indexOf(endTag, begin + marker.size());
    if (end < 0)
        return reading;
    reading.found = true;

    const QStringView line = QStringView(lower).sliced(begin, end - begin);
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0)
        return reading;
    const QStringView names = line.sliced(bar + 1);
    // One pass per piece at most, so the limit never cuts a real line short.
    const int limit = static_cast<int>(std::min<qsizetype>(names.size() + 1, std::numeric_limits<int>::max()));
    reading.entries = SplitByDelimiter(u'|', names, limit);
    reading.count = reading.entries.size();
    return reading;
}
