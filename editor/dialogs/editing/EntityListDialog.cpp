#include "dialogs/editing/EntityListDialog.h"

#include <QSignalBlocker>

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "dialogs/application/DialogHost.h"
#include "ui_EntityListDialog.h"
#include "views/ChildWindow.h"

namespace {
constexpr int kSerialRole = Qt::UserRole;

EntityRecord* findBySerial(const MapDocument* document, int32_t serial) {
    if (!document || !document->world) return nullptr;
    for (EntityRecord* e = document->world->entities; e; e = e->next)
        if (e->serial == serial) return e;
    return nullptr;
}
} // namespace

cEntityListDialog::cEntityListDialog(QWidget* parent)
    : QDialog(parent, Qt::Drawer | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::CustomizeWindowHint),
      ui(new Ui::cEntityListDialog) {
    ui->setupUi(this);
    setFixedSize(281, 173);
    connect(ui->lstEntities, &QListWidget::currentRowChanged, this,
            &cEntityListDialog::exec_on_entityChanged);
    connect(ui->lstEntities, &QListWidget::doubleClicked, this, &cEntityListDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cEntityListDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &cEntityListDialog::reject);
}

cEntityListDialog::~cEntityListDialog() {
    delete ui;
}

void cEntityListDialog::retranslate() {
    ui->retranslateUi(this);
}

void cEntityListDialog::addEntity(const QString& text, EntityRecord* entity) {
    if (!entity) return;
    MapDocument* document = Project_FromHandle(entity->owner);
    if (!document) return;
    // Every row names an entity of the one document the chooser was opened for.
    if (!m_document) m_document = document;
    if (document != m_document) return;
    QListWidget* list = ui->lstEntities;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(kSerialRole).toInt() == entity->serial) return;
    const bool first = list->count() == 0;
    auto* row = new QListWidgetItem(text);
    row->setData(kSerialRole, entity->serial);
    list->addItem(row);
    if (first) list->setCurrentRow(0);
}

EntityRecord* cEntityListDialog::entityAt(int row) const {
    QListWidgetItem* item = ui->lstEntities->item(row);
    return item ? findBySerial(m_document, item->data(kSerialRole).toInt()) : nullptr;
}

void cEntityListDialog::dropMissing() {
    QListWidget* list = ui->lstEntities;
    const QSignalBlocker blocker(list);
    for (int i = list->count() - 1; i >= 0; --i)
        if (!entityAt(i)) delete list->takeItem(i);
}

void cEntityListDialog::exec_on_entityChanged(int row) {
    EntityRecord* entity = entityAt(row);
    if (!entity) {
        dropMissing();
        return;
    }
    if (DialogHost* host = Dialog_Host()) host->showObjectProperties(entity);
}

void cEntityListDialog::accept() {
    dropMissing();
    EntityRecord* entity = entityAt(ui->lstEntities->currentRow());
    // The brushes tied are the active map's selection: an entity of another map is never theirs.
    DialogHost* host = Dialog_Host();
    if (!entity || !host || !m_document || host->activeDocument() != m_document) return;
    host->tieToEntity(entity);
    QDialog::accept();
}

// Hidden first: the properties dialog follows the selection only while no chooser is shown.
void cEntityListDialog::reject() {
    QDialog::reject();
    if (DialogHost* host = Dialog_Host()) host->updateObjectProperties();
}
