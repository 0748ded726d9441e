// Reads who is online from the chat page's "online now:" line.
#pragma once

#include <QString>
#include <QStringList>

struct PresenceReading {
    // False when the page has no presence line: no "online now:" marker, or no "</font>" after it.
    bool found = false;
    // Lower case and untrimmed, in page order.
    QStringList entries;
    qsizetype count = 0;
};

// The line runs from the marker to the first "</font>" after it; the site's own figure before
// the first "|" is skipped and the entries are counted here.
PresenceReading readPresence(QStringView page);
