// The friends file "friends.txt": one name per line, shared by every user name.
#pragma once

#include <QDir>

class Roster;

namespace RosterFile {

inline constexpr char16_t FileName[] = u"friends.txt";

// Appends every line of the file to the roster, or, when there is no file, appends the two
// default friends and writes them to a new file. Throws TavikError on any file failure.
void loadOrCreate(Roster& roster, const QDir& dir);

// Replaces the file with every name of the roster, in order; a failure leaves the old file whole.
void save(const Roster& roster, const QDir& dir);

} // namespace RosterFile
