// The user settings that live from start-up to the end of the run.
#pragma once

#include <QString>

struct UserSettings {
    QString UserName;
    QString Destination;
    QString ChatLink;
};
