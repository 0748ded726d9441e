// The settings panel: user name, destination and chat link.
#pragma once

#include <QDir>
#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;
struct UserSettings;

class TFrame1 : public QFrame {
    Q_OBJECT
public:
    TFrame1(UserSettings& settings, QDir workDir, QWidget* parent = nullptr);

    // Fills the boxes from the settings, re-reading the user's chat-link file first.
    void load();

    // The handlers throw; the window shows what they raise.
    void SaveConfig();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QPushButton* Button1;
    QPushButton* Button2;

Q_SIGNALS:
    void userNameChanged();

private:
    UserSettings& settings_;
    QDir workDir_;
};
