#include "dialogs/editing/EntityReportDialog.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cstring>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/ObjectRecords.h"
#include "dialogs/application/DialogHost.h"
#include "ui_EntityReportDialog.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {
constexpr int kEntityRole = Qt::UserRole;
constexpr int kRowHeight = 16;

EntityRecord* entityOf(const QTableWidgetItem* item) {
    return item ? static_cast<EntityRecord*>(item->data(kEntityRole).value<void*>()) : nullptr;
}

// The first pair whose key equals the wanted one ignoring case.
const EPair* findKey(const EntityRecord* e, const char* key) {
    for (const EPair* p = e->epairs; p; p = p->next)
        if (p->key && qstricmp(p->key, key) == 0) return p;
    return nullptr;
}
} // namespace

cEntityReportDialog::cEntityReportDialog(MapDocument* document, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint),
      ui(new Ui::cEntityReportDialog), m_document(document) {
    ui->setupUi(this);
    setFixedSize(455, 461);
    QTableWidget* table = ui->lstEntities;
    table->setColumnCount(3);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setShowGrid(false);
    table->setCornerButtonEnabled(false);
    QHeaderView* header = table->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFont(table->font());
    table->verticalHeader()->hide();
    table->verticalHeader()->setMinimumSectionSize(kRowHeight);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    const int width = table->width();
    table->setColumnWidth(0, width / 2);
    table->setColumnWidth(1, width / 4);
    table->setColumnWidth(2, width / 4);

    connect(table, &QTableWidget::itemSelectionChanged, this, &cEntityReportDialog::exec_on_selectEntities);
    for (QAbstractButton* box :
         {static_cast<QAbstractButton*>(ui->rbEverything), static_cast<QAbstractButton*>(ui->rbBrush),
          static_cast<QAbstractButton*>(ui->rbPoint), static_cast<QAbstractButton*>(ui->cbHidden),
          static_cast<QAbstractButton*>(ui->cbKVD), static_cast<QAbstractButton*>(ui->cbExact),
          static_cast<QAbstractButton*>(ui->cbClass)})
        connect(box, &QAbstractButton::clicked, this, &cEntityReportDialog::exec_on_updateEntityFilter);
    connect(ui->cbKVD, &QAbstractButton::toggled, ui->cbExact, &QWidget::setEnabled);
    connect(ui->cbKVD, &QAbstractButton::toggled, ui->leKey, &QWidget::setEnabled);
    connect(ui->cbKVD, &QAbstractButton::toggled, ui->leValue, &QWidget::setEnabled);
    connect(ui->cbClass, &QAbstractButton::toggled, ui->lbClass, &QWidget::setEnabled);
    connect(ui->lbClass, &QComboBox::currentIndexChanged, this,
            &cEntityReportDialog::exec_on_updateEntityFilter);
    connect(ui->leKey, &QLineEdit::editingFinished, this, &cEntityReportDialog::exec_on_updateEntityFilter);
    connect(ui->leValue, &QLineEdit::editingFinished, this, &cEntityReportDialog::exec_on_updateEntityFilter);
    connect(ui->btnMark, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_markEntities);
    connect(ui->btnGoto, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_gotoEntities);
    connect(ui->btnDelete, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_deleteEntities);
    connect(ui->btnProperties, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_editEntities);
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnHide, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_hideEntities);
    connect(ui->btnUnhide, &QPushButton::clicked, this, &cEntityReportDialog::exec_on_unhideEntities);

    fillClasses();
    exec_on_updateEntityFilter();
}

cEntityReportDialog::~cEntityReportDialog() {
    delete ui;
}

void cEntityReportDialog::fillClasses() {
    QStringList names;
    if (m_document && m_document->world)
        for (EntityRecord* e = m_document->world->entities; e; e = e->next)
            if (!(e->flags & EntityFlag::World) && e->classname)
                names.append(Text_FromWindows1251(e->classname));
    names.sort();
    names.removeDuplicates();
    const QSignalBlocker blocker(ui->lbClass);
    ui->lbClass->clear();
    ui->lbClass->addItems(names);
}

void cEntityReportDialog::setSettings(const EntityReportSettings& s) {
    if (s.type == 1) ui->rbBrush->setChecked(true);
    if (s.type == 2) ui->rbPoint->setChecked(true);
    ui->cbHidden->setChecked(s.hidden);
    ui->cbKVD->setChecked(s.keyValue);
    ui->cbClass->setChecked(s.byClass);
    ui->cbExact->setChecked(s.exact);
    if (!s.classFilter.isEmpty()) {
        const QSignalBlocker blocker(ui->lbClass);
        ui->lbClass->setCurrentIndex(ui->lbClass->findText(s.classFilter, Qt::MatchFixedString));
    }
    if (!s.keyFilter.isEmpty()) ui->leKey->setText(s.keyFilter);
    if (!s.valueFilter.isEmpty()) ui->leValue->setText(s.valueFilter);
    exec_on_updateEntityFilter();
}

void cEntityReportDialog::getSettings(EntityReportSettings& s) const {
    s.type = ui->rbPoint->isChecked() ? 2 : ui->rbBrush->isChecked() ? 1 : 0;
    s.hidden = ui->cbHidden->isChecked();
    s.keyValue = ui->cbKVD->isChecked();
    s.byClass = ui->cbClass->isChecked();
    s.exact = ui->cbExact->isChecked();
    s.classFilter = ui->lbClass->currentText();
    s.keyFilter = ui->leKey->text();
    s.valueFilter = ui->leValue->text();
}

EntityRecord* cEntityReportDialog::entityAt(int row) const {
    return entityOf(ui->lstEntities->item(row, 0));
}

void cEntityReportDialog::exec_on_updateEntityFilter() {
    m_refilling = true;
    QTableWidget* table = ui->lstEntities;
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(0);
    m_labels = {tr("Class"), tr("Name"), tr("Target")};
    table->setHorizontalHeaderLabels(m_labels);

    const bool brushes = ui->rbBrush->isChecked() || ui->rbEverything->isChecked();
    const bool points = ui->rbPoint->isChecked() || ui->rbEverything->isChecked();
    const bool hidden = ui->cbHidden->isChecked();
    const bool byClass = ui->lbClass->isEnabled() && !ui->lbClass->currentText().isEmpty();
    const QByteArray classFilter = Text_ToWindows1251(ui->lbClass->currentText());
    const bool byKey = ui->leKey->isEnabled() && !ui->leKey->text().isEmpty();
    const QByteArray keyFilter = Text_ToWindows1251(ui->leKey->text());
    const QByteArray valueFilter = Text_ToWindows1251(ui->leValue->text());
    const bool exact = ui->cbExact->isChecked();

    QList<EntityRecord*> listed;
    if (m_document && m_document->world)
        for (EntityRecord* e = m_document->world->entities; e; e = e->next) {
            if (e->flags & EntityFlag::World) continue;
            const bool point = e->flags & EntityFlag::Point;
            if (point ? !points : !brushes) continue;
            if ((e->flags & EntityFlag::Hidden) && !hidden) continue;
            if (byClass && qstrcmp(e->classname ? e->classname : "", classFilter.constData()) != 0) continue;
            if (byKey) {
                const EPair* pair = findKey(e, keyFilter.constData());
                const char* value = pair && pair->value ? pair->value : "";
                if (!pair) continue;
                if (exact ? qstrcmp(value, valueFilter.constData()) != 0
                          : std::strstr(value, valueFilter.constData()) == nullptr)
                    continue;
            }
            listed.append(e);
        }

    table->setRowCount(int(listed.size()));
    QFont italic = table->font();
    italic.setItalic(true);
    for (int row = 0; row < listed.size(); ++row) {
        EntityRecord* e = listed[row];
        const cMapEntity* m = e->handle;
        const char* target = m && !m->targets.empty() ? m->targets.front().name : nullptr;
        const QString texts[3] = {Text_FromWindows1251(e->classname ? e->classname : ""),
                                  Text_FromWindows1251(e->targetname ? e->targetname : ""),
                                  Text_FromWindows1251(target ? target : "")};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (e->flags & EntityFlag::Hidden) item->setFont(italic);
            if (column == 0) item->setData(kEntityRole, QVariant::fromValue<void*>(e));
            table->setItem(row, column, item);
        }
    }
    table->sortItems(0, Qt::AscendingOrder);

    int chosen = -1;
    for (int row = 0; m_remembered && row < table->rowCount() && chosen < 0; ++row)
        if (entityAt(row) == m_remembered) chosen = row;
    if (chosen < 0 && table->rowCount() > 0) {
        chosen = 0;
        m_remembered = entityAt(0);
    }
    if (chosen >= 0) table->selectRow(chosen);
    m_refilling = false;
}

void cEntityReportDialog::exec_on_selectEntities() {
    if (m_refilling) return;
    m_remembered = nullptr;
    const QList<QTableWidgetItem*> items = ui->lstEntities->selectedItems();
    if (items.size() == 3) m_remembered = entityAt(items.first()->row());
}

QList<EntityRecord*> cEntityReportDialog::chosenEntities() const {
    QList<int> rows;
    for (const QTableWidgetItem* item : ui->lstEntities->selectedItems())
        if (item->column() == 0) rows.append(item->row());
    std::sort(rows.begin(), rows.end());
    QList<EntityRecord*> entities;
    for (int row : rows)
        if (EntityRecord* e = entityAt(row)) entities.append(e);
    return entities;
}

void cEntityReportDialog::selectEntities(const QList<EntityRecord*>& entities, float* middle) {
    MapWorld* world = m_document->world;
    Map_SelectNone(world);
    float mins[3] = {1e30f, 1e30f, 1e30f};
    float maxs[3] = {-1e30f, -1e30f, -1e30f};
    for (EntityRecord* e : entities) {
        Map_SelectObject(world, e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(world, b);
        for (int i = 0; i < 3; ++i) {
            const float centre = (e->mins[i] + e->maxs[i]) * 0.5f;
            mins[i] = std::min(mins[i], centre);
            maxs[i] = std::max(maxs[i], centre);
        }
    }
    if (middle)
        for (int i = 0; i < 3; ++i)
            middle[i] = (mins[i] + maxs[i]) * 0.5f;
    if (DialogHost* host = Dialog_Host()) host->notifySelectionChanged();
}

void cEntityReportDialog::exec_on_markEntities() {
    const QList<EntityRecord*> entities = chosenEntities();
    if (entities.isEmpty()) return;
    selectEntities(entities, nullptr);
    if (DialogHost* host = Dialog_Host()) host->updateAllViews(3);
    Map_UpdateSelectionSummary(m_document->world);
}

void cEntityReportDialog::exec_on_gotoEntities() {
    const QList<EntityRecord*> entities = chosenEntities();
    if (entities.isEmpty()) return;
    float middle[3];
    selectEntities(entities, middle);
    for (cChildWindow* window : std::as_const(m_document->windows))
        for (cCanvas* view : std::as_const(window->views))
            view->centerOn(middle);
    Map_UpdateSelectionSummary(m_document->world);
}

void cEntityReportDialog::exec_on_editEntities() {
    const QList<EntityRecord*> entities = chosenEntities();
    if (entities.isEmpty()) return;
    selectEntities(entities, nullptr);
    if (DialogHost* host = Dialog_Host()) host->updateAllViews(3);
    Map_UpdateSelectionSummary(m_document->world);
    if (DialogHost* host = Dialog_Host()) host->editProperties();
}

void cEntityReportDialog::exec_on_deleteEntities() {
    const QList<EntityRecord*> entities = chosenEntities();
    if (entities.isEmpty()) return;
    const QString text =
        entities.size() == 1
            ? tr("Are you sure to delete %1?").arg(Text_FromWindows1251(entities.first()->classname))
            : tr("Are you sure to delete %1 entities?").arg(entities.size());
    if (Prompt_Question(this, PromptIcon::Question, text, PromptButton::Yes | PromptButton::No) ==
        PromptButton::No)
        return;
    MapWorld* world = m_document->world;
    UndoHistory* history = m_document->undo;
    if (history) Undo_BeginLevel(history, "Delete Entities");
    for (EntityRecord* e : entities) {
        if (e == m_remembered) m_remembered = nullptr;
        Map_DeleteEntity(world, e);
    }
    if (history) Undo_EndLevel(history);
    if (DialogHost* host = Dialog_Host()) host->updateActions(0x2);
    Project_SetModified(m_document);
    if (DialogHost* host = Dialog_Host()) {
        host->notifySelectionChanged();
        host->updateAllViews(3);
    }
    Map_UpdateSelectionSummary(world);
    exec_on_updateEntityFilter();
}

void cEntityReportDialog::setHidden(bool hide) {
    const QList<EntityRecord*> entities = chosenEntities();
    if (entities.isEmpty()) return;
    MapWorld* world = m_document->world;
    Map_SelectNone(world);
    bool changed = false;
    auto apply = [hide, &changed](uint32_t& flags) {
        if (bool(flags & EntityFlag::Hidden) == hide) return;
        flags ^= EntityFlag::Hidden;
        changed = true;
    };
    for (EntityRecord* e : entities) {
        apply(e->flags);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            apply(b->flags);
    }
    if (!changed) return;
    if (DialogHost* host = Dialog_Host()) {
        host->notifySelectionChanged();
        host->updateAllViews(3);
    }
    Map_UpdateSelectionSummary(world);
    exec_on_updateEntityFilter();
}

void cEntityReportDialog::exec_on_hideEntities() {
    setHidden(true);
}

void cEntityReportDialog::exec_on_unhideEntities() {
    setHidden(false);
}
