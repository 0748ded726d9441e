// The friends with their states, as two parallel lists that only ever grow.
#pragma once

#include <QString>
#include <QStringList>

class Roster {
public:
    static inline const QString On = QStringLiteral("on");
    static inline const QString Off = QStringLiteral("off");

    // Every friend starts "off"; names are kept exactly as given, empty and duplicate included.
    void append(const QString& name);

    qsizetype count() const { return FriendNames.size(); }
    const QString& name(qsizetype i) const { return FriendNames.at(i); }
    const QString& state(qsizetype i) const { return FriendStates.at(i); }
    void setState(qsizetype i, const QString& state) { FriendStates[i] = state; }
    const QStringList& names() const { return FriendNames; }

private:
    QStringList FriendNames;
    QStringList FriendStates;
};
