#include "dialogs/editing/EditGroupsDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"

namespace {
constexpr int kIdRole = Qt::UserRole;
}

cEditGroupsDialog::cEditGroupsDialog(int preselectId, MapWorld* world, QWidget* parent)
    : QDialog(parent), m_world(world) {
    setObjectName(QStringLiteral("cEditGroupsDialog"));
    setWindowTitle(tr("Object Groups"));
    auto* groups = new QGroupBox(tr("Groups"), this);
    lstVisGroups = new QListWidget(groups);
    lstVisGroups->setObjectName(QStringLiteral("lstVisGroups"));
    lstVisGroups->setSortingEnabled(true);
    (new QVBoxLayout(groups))->addWidget(lstVisGroups);

    auto* selected = new QGroupBox(tr("Selected Group"), this);
    auto* label = new QLabel(tr("&Name:"), selected);
    txtName = new QLineEdit(selected);
    txtName->setObjectName(QStringLiteral("txtName"));
    label->setBuddy(txtName);
    auto* btnNew = new QPushButton(tr("&New Group"), selected);
    auto* btnRemove = new QPushButton(tr("&Remove"), selected);
    auto* side = new QVBoxLayout(selected);
    side->addWidget(label);
    side->addWidget(txtName);
    side->addWidget(btnNew);
    side->addWidget(btnRemove);
    side->addStretch();

    auto* buttonBox = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstVisGroups, &QListWidget::currentItemChanged, this, &cEditGroupsDialog::exec_on_selectVisGroup);
    connect(txtName, &QLineEdit::textEdited, this, &cEditGroupsDialog::exec_on_changeVisGroupName);
    connect(btnNew, &QPushButton::clicked, this, &cEditGroupsDialog::exec_on_addVisGroup);
    connect(btnRemove, &QPushButton::clicked, this, &cEditGroupsDialog::exec_on_removeVisGroup);

    auto* columns = new QHBoxLayout;
    columns->addWidget(groups, 1);
    columns->addWidget(selected);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttonBox);
    setFixedSize(390, 241);

    fill();
    if (preselectId != 0)
        for (int i = 0; i < lstVisGroups->count(); ++i)
            if (lstVisGroups->item(i)->data(kIdRole).toInt() == preselectId) lstVisGroups->setCurrentRow(i);
}

void cEditGroupsDialog::fill() {
    m_loading = true;
    lstVisGroups->clear();
    if (m_world && m_world->visGroups)
        for (const auto& [id, set] : *m_world->visGroups) {
            auto* row = new QListWidgetItem(set->name ? Text_FromWindows1251(set->name) : QString());
            row->setData(kIdRole, id);
            lstVisGroups->addItem(row);
        }
    m_loading = false;
    exec_on_selectVisGroup(lstVisGroups->currentItem());
}

void cEditGroupsDialog::exec_on_selectVisGroup(QListWidgetItem* row) {
    txtName->setEnabled(row != nullptr);
    txtName->setText(row ? row->text() : QString());
}

void cEditGroupsDialog::exec_on_addVisGroup() {
    VisGroup* set = Map_CreateVisGroup(m_world, "new group");
    if (!set) return;
    auto* row = new QListWidgetItem(QStringLiteral("new group"));
    row->setData(kIdRole, set->id);
    lstVisGroups->addItem(row);
    lstVisGroups->setCurrentItem(row);
}

void cEditGroupsDialog::exec_on_removeVisGroup() {
    QListWidgetItem* row = lstVisGroups->currentItem();
    if (!row) return;
    if (VisGroup* set = Map_FindVisGroup(m_world, row->data(kIdRole).toInt()))
        Map_DeleteVisGroup(m_world, set);
    delete row;
}

void cEditGroupsDialog::exec_on_changeVisGroupName() {
    QListWidgetItem* row = lstVisGroups->currentItem();
    if (m_loading || !row) return;
    VisGroup* set = Map_FindVisGroup(m_world, row->data(kIdRole).toInt());
    if (!set) return;
    VisGroup_SetName(set, Text_ToWindows1251(txtName->text()).constData());
    Project_SetModified(&m_world->handle);
    row->setText(txtName->text());
}
