// The friends panel: the roster with each friend's state, adding a friend, saving the file.
#pragma once

#include <QDir>
#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class Roster;

class TFrame2 : public QFrame {
    Q_OBJECT
public:
    TFrame2(Roster& roster, QDir workDir, QWidget* parent = nullptr);

    // Rebuilds the list as a snapshot of the roster.
    void rebuildList();

    // The handlers throw; the window shows what they raise.
    void AddFriend();
    void SaveToFile();

    QLabel* friends;
    QTreeWidget* ListView1;
    QLabel* StaticText1;
    QLineEdit* Edit1;
    QPushButton* Button3;
    QPushButton* Button1;
    QPushButton* Button2;

Q_SIGNALS:
    // The roster was written; the window then hides the panels.
    void saved();

private:
    Roster& roster_;
    QDir workDir_;
};
