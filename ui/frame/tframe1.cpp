#include "ui/frame/tframe1.h"

#include "app/chatlinkfile.h"
#include "app/usersettings.h"
#include "ui/panelstyle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TFrame1::TFrame1(UserSettings& settings, QDir workDir, QWidget* parent)
    : QFrame(parent)
    , Label1(new QLabel(u"Username:"_s, this))
    , Label2(new QLabel(u"Destination:"_s, this))
    , Label3(new QLabel(u"Chatlink:"_s, this))
    , Edit1(new QLineEdit(this))
    , Edit2(new QLineEdit(this))
    , Edit3(new QLineEdit(this))
    , Button1(new QPushButton(u"Save"_s, this))
    , Button2(new QPushButton(u"Cancel"_s, this))
    , settings_(settings)
    , workDir_(std::move(workDir)) {
    PanelStyle::apply(this, u"TFrame11"_s);

    const struct {
        QLabel* label;
        QLineEdit* edit;
        const char16_t* name;
        const char16_t* accessible;
        int top;
        int editWidth;
    } rows[] = {
        {Label1, Edit1, u"1", u"Username", 16, 121},
        {Label2, Edit2, u"2", u"Destination", 48, 121},
        {Label3, Edit3, u"3", u"Chatlink", 80, 353},
    };
    for (const auto& row : rows) {
        row.label->setObjectName(u"Label"_s + QString::fromUtf16(row.name));
        QFont font = row.label->font();
        font.setPixelSize(13);
        row.label->setFont(font);
        row.label->move(24, row.top);
        row.label->adjustSize();
        row.label->setBuddy(row.edit);
        row.edit->setObjectName(u"Edit"_s + QString::fromUtf16(row.name));
        row.edit->setGeometry(104, row.top - 4, row.editWidth, 21);
        row.edit->setAccessibleName(QString::fromUtf16(row.accessible));
    }
    PanelStyle::placeCaption(Label3, {24, 80, 50, 16});
    Button1->setObjectName(u"Button1"_s);
    Button1->setGeometry(56, 128, 75, 25);
    Button2->setObjectName(u"Button2"_s);
    Button2->setGeometry(152, 128, 75, 25);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit3);
}

void TFrame1::load() {
    Edit1->setText(settings_.UserName);
    Edit2->setText(settings_.Destination);
    ChatLinkFile::read(workDir_, settings_.UserName, settings_.ChatLink);
    Edit3->setText(settings_.ChatLink);
}

void TFrame1::SaveConfig() {
    settings_.UserName = Edit1->text();
    settings_.Destination = Edit2->text();
    Q_EMIT userNameChanged();
    if (Edit3->text() != settings_.ChatLink) {
        // The link in use changes only once it is stored.
        ChatLinkFile::write(workDir_, settings_.UserName, Edit3->text());
        settings_.ChatLink = Edit3->text();
    }
    ChatLinkFile::read(workDir_, settings_.UserName, settings_.ChatLink);
    hide();
}
