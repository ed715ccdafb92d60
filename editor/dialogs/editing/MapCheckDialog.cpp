#include "dialogs/editing/MapCheckDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidgetItem>
#include <QPushButton>
#include <QSignalBlocker>

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "gamedata/TextureLists.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "dialogs/application/DialogHost.h"
#include "views/AbstractTool.h"
#include "views/ViewHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "ui_MapCheckDialog.h"

namespace {

void middle(const float mins[3], const float maxs[3], float out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = (mins[i] + maxs[i]) * 0.5f;
}

// The texture the Textures bar shows; null when it shows none.
const ShaderRecord* currentTexture() {
    const DialogHost* host = Dialog_Host();
    const QString name = host ? host->currentTextureName() : QString();
    return name.isEmpty() ? nullptr : TexList_FindShader(GameCfg_CurrentTextureLists(), name);
}

// A view of the document for the tools' refresh: the focus view when it shows the document.
cCanvas* viewOf(const MapDocument* document) {
    cCanvas* focus = View_FocusView();
    if (focus && focus->childWindow && focus->childWindow->document == document) return focus;
    for (cChildWindow* w : document->windows)
        if (!w->views.isEmpty()) return w->views.first();
    return nullptr;
}

} // namespace

cMapCheckDialog::cMapCheckDialog(MapDocument* document, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(new Ui::cMapCheckDialog), document(document) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->lstProblems, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) { exec_on_errorList_itemClicked(item); });
    connect(ui->btnGoto, &QPushButton::clicked, this, &cMapCheckDialog::exec_on_gotoError);
    connect(ui->btnFix, &QPushButton::clicked, this, &cMapCheckDialog::exec_on_fixError);
    connect(ui->btnFixType, &QPushButton::clicked, this, &cMapCheckDialog::exec_on_fixErrors);
    connect(ui->btnFixAll, &QPushButton::clicked, this, &cMapCheckDialog::exec_on_fixAllErrors);
}

cMapCheckDialog::~cMapCheckDialog() {
    finishUndoStep();
    delete ui;
}

void cMapCheckDialog::runChecks() {
    problemList = MapCheck_Run(document ? document->world : nullptr, MapCheck_Profile(document));
    m_index.build(problemList);
}

void cMapCheckDialog::refreshList() {
    const int32_t remembered = current;
    {
        const QSignalBlocker blocker(ui->lstProblems);
        ui->lstProblems->clear();
        for (size_t i = 0; i < problemList.size(); ++i) {
            auto* item = new QListWidgetItem(MapCheck_ListText(*problemList[i]), ui->lstProblems);
            item->setData(Qt::UserRole, int(i));
        }
    }
    const int32_t rows = ui->lstProblems->count();
    const int32_t restore = remembered >= 0 && remembered < rows ? remembered : 0;
    if (restore < rows) ui->lstProblems->setCurrentRow(restore);
    current = restore;
}

MapProblem* cMapCheckDialog::currentProblem() const {
    return current >= 0 && size_t(current) < problemList.size() ? problemList[size_t(current)].get()
                                                                : nullptr;
}

void cMapCheckDialog::exec_on_errorList_itemClicked(QListWidgetItem* item) {
    current = item ? item->data(Qt::UserRole).toInt() : -1;
    const MapProblem* p = currentProblem();
    if (!p) {
        ui->txtDesc->clear();
        ui->btnGoto->setEnabled(false);
        ui->btnFix->setText(tr("Can't fix"));
        ui->btnFix->setEnabled(false);
        ui->btnFixType->setEnabled(false);
        return;
    }
    const MapCheckEntry& entry = kMapCheckTable[p->check];
    ui->txtDesc->setHtml(tr(entry.description));
    // A problem whose object a repair removed has nothing left to visit.
    ui->btnGoto->setEnabled(entry.scope != MapCheckScope::World && !p->gone);
    if (!entry.repair || p->status == MapProblemStatus::CannotFix) {
        ui->btnFix->setText(tr("Can't fix"));
        ui->btnFix->setEnabled(false);
    } else if (p->status == MapProblemStatus::Fixed) {
        ui->btnFix->setText(tr("Fixed"));
        ui->btnFix->setEnabled(false);
    } else {
        ui->btnFix->setText(tr("&Fix"));
        ui->btnFix->setEnabled(true);
    }
    ui->btnFixType->setEnabled(entry.repair != nullptr);
}

void cMapCheckDialog::exec_on_gotoError() {
    const MapProblem* p = currentProblem();
    if (!p || p->gone || !document || !document->world) return;
    const int32_t scope = kMapCheckTable[p->check].scope;
    if (scope == MapCheckScope::World) return;
    MapWorld* world = document->world;
    Map_SelectNone(world);
    float centre[3] = {0, 0, 0};
    if (scope == MapCheckScope::Entity || scope == MapCheckScope::KeyValue) {
        EntityRecord* e = p->ownerEntity;
        Map_SelectObject(world, e);
        if (scope == MapCheckScope::Entity)
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                Map_SelectObject(world, b);
        middle(e->mins, e->maxs, centre);
    } else {
        BrushRecord* b = p->ownerBrush;
        Map_SelectObject(world, b);
        middle(b->mins, b->maxs, centre);
    }
    if (DialogHost* host = Dialog_Host()) host->notifyViewSelectionChanged(viewOf(document));
    for (cChildWindow* w : document->windows)
        for (cCanvas* view : w->views)
            view->centerOn(centre);
    Map_UpdateSelectionSummary(world);
}

void cMapCheckDialog::repair(const std::function<bool(const MapProblem&)>& take) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!undoOpened) {
        Undo_BeginLevel(document->undo, "Fix Problems");
        undoOpened = true;
    }
    MapRepair r;
    r.history = document->undo;
    r.currentTexture = currentTexture();
    for (auto& p : problemList) {
        if (p->gone || !take(*p)) continue;
        MapCheck_Repair(r, *p);
        if (!r.removed.isEmpty()) m_index.markGone(r.removed);
    }
    if (DialogHost* host = Dialog_Host()) {
        if (View_ActiveTool() && View_ActiveTool()->getId() == 0) host->notifySelectionChanged();
        host->updateAllViews(3);
    }
    refreshList();
    Project_SetModified(document);
    QApplication::restoreOverrideCursor();
}

void cMapCheckDialog::exec_on_fixError() {
    MapProblem* chosen = currentProblem();
    if (!chosen || !kMapCheckTable[chosen->check].repair) return;
    repair([chosen](const MapProblem& p) { return &p == chosen; });
}

void cMapCheckDialog::exec_on_fixErrors() {
    const MapProblem* chosen = currentProblem();
    if (!chosen || !kMapCheckTable[chosen->check].repair) return;
    const int32_t row = chosen->check;
    repair([row](const MapProblem& p) { return p.check == row && p.status == MapProblemStatus::Open; });
}

void cMapCheckDialog::exec_on_fixAllErrors() {
    if (problemList.empty()) return;
    repair([](const MapProblem& p) {
        return kMapCheckTable[p.check].repair && p.status == MapProblemStatus::Open;
    });
}

void cMapCheckDialog::finishUndoStep() {
    if (!undoOpened) return;
    undoOpened = false;
    if (document && document->undo && document->undo->recording) {
        Undo_EndLevel(document->undo);
        if (DialogHost* host = Dialog_Host()) host->updateActions(0x2);
    }
}

void cMapCheckDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshList();
    if (restoreCursorOnShow) {
        restoreCursorOnShow = false;
        QApplication::restoreOverrideCursor();
    }
}

void cMapCheckDialog::closeEvent(QCloseEvent* event) {
    finishUndoStep();
    QDialog::closeEvent(event);
    event->accept();
}

void cMapCheckDialog::done(int result) {
    finishUndoStep();
    QDialog::done(result);
}

void cMapCheckDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        refreshList();
    }
    QDialog::changeEvent(event);
}
