// The "Filter Control" dock: the visgroups of the active map, shown or hidden by a double-click,
// filled from the selection, marked, merged by drag and drop, purged and edited. The sets belong
// to the world; the dock only shows them and calls the world's operations, none an undo step.
#include <QDockWidget>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TextEncoding.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/EditGroupsDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "mainwindow/QVisGroupList.h"
#include "document/VisGroup.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

QString rowText(const VisGroup* set) {
    const QString name = set->name ? Text_FromWindows1251(set->name) : QString();
    if (set->memberCount == 0) return name;
    if (set->memberCount == 1) return QCoreApplication::translate("cMainWindow", "%1 (1 object)").arg(name);
    return QCoreApplication::translate("cMainWindow", "%1 (%2 objects)").arg(name).arg(set->memberCount);
}

QIcon rowIcon(const VisGroup* set) {
    return QIcon(set->visible ? QStringLiteral(":/qrc/vg_on.png") : QStringLiteral(":/qrc/vg_off.png"));
}

} // namespace

void cMainWindow::createVisGroupsDock() {
    VisGroupsDock& d = visGroupsDock;
    d.dock = new QDockWidget(this);
    d.dock->setObjectName(QStringLiteral("visgroups"));
    d.dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    connect(d.dock, &QDockWidget::visibilityChanged, this, &cMainWindow::updateScreenElements);
    auto* panel = new QWidget(d.dock);
    d.label = new QLabel(panel);
    d.list = new QVisGroupList(panel);
    d.list->setSelectionMode(QAbstractItemView::SingleSelection);
    d.list->setSortingEnabled(true);
    d.label->setBuddy(d.list);
    connect(d.list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* row) { selectVisGroup(row); });
    connect(d.list, &QListWidget::itemDoubleClicked, this, &cMainWindow::changeVisGroupVis);
    connect(d.list, &QVisGroupList::mergeItems, this, &cMainWindow::mergeVisGroups);

    auto button = [panel] {
        auto* b = new QPushButton(panel);
        b->setMinimumWidth(40);
        return b;
    };
    d.assign = button();
    d.edit = button();
    d.mark = button();
    d.purge = button();
    connect(d.assign, &QPushButton::clicked, this, &cMainWindow::assignVisGroup);
    connect(d.edit, &QPushButton::clicked, this, &cMainWindow::editVisGroups);
    connect(d.mark, &QPushButton::clicked, this, &cMainWindow::markVisGroup);
    connect(d.purge, &QPushButton::clicked, this, &cMainWindow::purgeVisGroups);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(d.label);
    layout->addWidget(d.list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    for (QPushButton* b : {d.assign, d.edit, d.mark, d.purge})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    d.dock->setWidget(panel);
    retranslateVisGroupsDock();
    addDockWidget(Qt::RightDockWidgetArea, d.dock);
}

void cMainWindow::retranslateVisGroupsDock() {
    VisGroupsDock& d = visGroupsDock;
    if (!d.dock) return;
    d.dock->setWindowTitle(tr("Filter Control"));
    d.dock->setStatusTip(tr("For Help, press F1"));
    d.label->setText(tr("&VisGroups:"));
    d.assign->setText(tr("&Assign"));
    d.edit->setText(tr("E&dit"));
    d.mark->setText(tr("&Mark"));
    d.purge->setText(tr("P&urge"));
}

void cMainWindow::updateVisGroupList() {
    VisGroupsDock& d = visGroupsDock;
    if (!d.dock) return;
    cChildWindow* child = activeChildWindow();
    MapWorld* world = child && child->document ? child->document->world : nullptr;
    for (QWidget* w :
         {static_cast<QWidget*>(d.label), static_cast<QWidget*>(d.list), static_cast<QWidget*>(d.assign),
          static_cast<QWidget*>(d.edit), static_cast<QWidget*>(d.mark), static_cast<QWidget*>(d.purge)})
        w->setEnabled(world != nullptr);
    // The rebuild must not move the remembered set.
    const uint32_t remembered = currentVisGroup;
    const QSignalBlocker blocker(d.list);
    d.list->clear();
    if (!world || !world->visGroups) return;
    QListWidgetItem* current = nullptr;
    for (const auto& [id, set] : *world->visGroups) {
        auto* row = new QListWidgetItem(rowIcon(set), rowText(set));
        row->setData(kIdRole, uint32_t(id));
        d.list->addItem(row);
        if (uint32_t(id) == remembered) current = row;
    }
    if (current) d.list->setCurrentItem(current);
}

void cMainWindow::updateVisGroupIcons() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !visGroupsDock.list) return;
    for (int i = 0; i < visGroupsDock.list->count(); ++i) {
        QListWidgetItem* row = visGroupsDock.list->item(i);
        if (const VisGroup* set = Map_FindVisGroup(child->document->world, row->data(kIdRole).toInt()))
            row->setIcon(rowIcon(set));
    }
}

void cMainWindow::updateVisGroupCounts(QListWidgetItem* row) {
    cChildWindow* child = activeChildWindow();
    if (!row || !child || !child->document) return;
    if (const VisGroup* set = Map_FindVisGroup(child->document->world, row->data(kIdRole).toInt()))
        row->setText(rowText(set));
}

void cMainWindow::selectVisGroup(QListWidgetItem* row) {
    if (row) currentVisGroup = row->data(kIdRole).toUInt();
}

void cMainWindow::changeVisGroupVis(QListWidgetItem* row) {
    cChildWindow* child = activeChildWindow();
    if (!row || !child || !child->document) return;
    MapDocument* document = child->document;
    VisGroup* set = Map_FindVisGroup(document->world, row->data(kIdRole).toInt());
    if (!set) return;
    Map_SetVisGroupVisible(document->world, set);
    updateVisGroupIcons();
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

void cMainWindow::mergeVisGroups(QListWidgetItem* source, QListWidgetItem* target) {
    cChildWindow* child = activeChildWindow();
    if (!source || !target || !child || !child->document) return;
    if (!Map_MergeVisGroups(child->document->world, source->data(kIdRole).toInt(),
                            target->data(kIdRole).toInt()))
        return;
    updateVisGroupCounts(target);
    delete source;
}

void cMainWindow::assignVisGroup() {
    cChildWindow* child = activeChildWindow();
    QListWidgetItem* row = visGroupsDock.list ? visGroupsDock.list->currentItem() : nullptr;
    if (!row || !child || !child->document) return;
    Map_AssignSelectionToVisGroup(child->document->world, row->data(kIdRole).toInt());
    updateVisGroupCounts(row);
}

void cMainWindow::markVisGroup() {
    cChildWindow* child = activeChildWindow();
    QListWidgetItem* row = visGroupsDock.list ? visGroupsDock.list->currentItem() : nullptr;
    if (!row || !child || !child->document) return;
    Map_SelectVisGroup(child->document->world, row->data(kIdRole).toInt());
    notifySelectionChanged();
    Project_RedrawViews(child->document, 3);
}

void cMainWindow::purgeVisGroups() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document) return;
    if (!Map_PurgeVisGroups(child->document->world)) return;
    updateVisGroupList();
    // Its visgroup page would still list the purged sets.
    if (objectPropertiesDialog && objectPropertiesDialog->isVisible())
        objectPropertiesDialog->refreshVisGroups();
}

void cMainWindow::editVisGroups() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document) return;
    QListWidgetItem* row = visGroupsDock.list->currentItem();
    {
        cEditGroupsDialog dialog(row ? row->data(kIdRole).toInt() : 0, child->document->world, this);
        dialog.exec();
    }
    updateVisGroupList();
    if (objectPropertiesDialog && objectPropertiesDialog->isVisible())
        objectPropertiesDialog->refreshVisGroups();
}
