#include "ui/friend/tframe2.h"

#include "roster/roster.h"
#include "roster/rosterfile.h"
#include "ui/panelstyle.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int NameWidth = 195;
constexpr int NameMinWidth = 80;
constexpr int StatusWidth = 50;

} // namespace

TFrame2::TFrame2(Roster& roster, QDir workDir, QWidget* parent)
    : QFrame(parent)
    , friends(new QLabel(u"Friends:"_s, this))
    , ListView1(new QTreeWidget(this))
    , StaticText1(new QLabel(u"Add new friend:"_s, this))
    , Edit1(new QLineEdit(this))
    , Button3(new QPushButton(u"Add"_s, this))
    , Button1(new QPushButton(u"Save to file"_s, this))
    , Button2(new QPushButton(u"Cancel"_s, this))
    , roster_(roster)
    , workDir_(std::move(workDir)) {
    PanelStyle::apply(this, u"TFrame21"_s);

    friends->setObjectName(u"friends"_s);
    QFont small = friends->font();
    small.setPixelSize(11);
    friends->setFont(small);
    PanelStyle::placeCaption(friends, {16, 8, 41, 17});

    ListView1->setObjectName(u"ListView1"_s);
    ListView1->setGeometry(16, 24, 250, 145);
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({u"Name"_s, u"Status"_s});
    ListView1->setRootIsDecorated(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    QHeaderView* header = ListView1->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Interactive);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->resizeSection(0, NameWidth);
    header->resizeSection(1, StatusWidth);
    header->setMinimumSectionSize(NameMinWidth < StatusWidth ? NameMinWidth : StatusWidth);
    connect(header, &QHeaderView::sectionResized, this, [header](int section, int, int size) {
        if (section == 0 && (size < NameMinWidth || size > NameWidth))
            header->resizeSection(0, std::clamp(size, NameMinWidth, NameWidth));
    });

    StaticText1->setObjectName(u"StaticText1"_s);
    PanelStyle::placeCaption(StaticText1, {288, 24, 78, 17});
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(288, 40, 121, 21);
    Edit1->setAccessibleName(u"Add new friend"_s);
    StaticText1->setBuddy(Edit1);
    Button3->setObjectName(u"Button3"_s);
    Button3->setGeometry(288, 72, 75, 25);
    Button1->setObjectName(u"Button1"_s);
    Button1->setGeometry(288, 136, 75, 25);
    Button2->setObjectName(u"Button2"_s);
    Button2->setGeometry(376, 136, 75, 25);

    setTabOrder(ListView1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit1);
    setTabOrder(Edit1, Button3);
}

void TFrame2::rebuildList() {
    ListView1->clear();
    for (qsizetype i = 0; i < roster_.count(); ++i)
        new QTreeWidgetItem(ListView1, {roster_.name(i), roster_.state(i)});
}

void TFrame2::AddFriend() {
    roster_.append(Edit1->text());
    Edit1->clear();
    rebuildList();
}

void TFrame2::SaveToFile() {
    RosterFile::save(roster_, workDir_);
    Q_EMIT saved();
}
