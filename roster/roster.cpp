#include "roster/roster.h"

void Roster::append(const QString& name) {
    FriendNames.append(name);
    FriendStates.append(Off);
}
