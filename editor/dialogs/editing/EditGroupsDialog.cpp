#include "dialogs/editing/EditGroupsDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QValidator>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "ui_EditGroupsDialog.h"

namespace {
constexpr int kIdRole = Qt::UserRole;

// Names are stored as Windows-1251 bytes: a character that code page cannot hold is refused as
// it is typed, so the stored name is always the one shown.
class cWindows1251Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return Text_FromWindows1251(Text_ToWindows1251(input)) == input ? Acceptable : Invalid;
    }
};
} // namespace

cEditGroupsDialog::cEditGroupsDialog(int preselectId, MapWorld* world, QWidget* parent)
    : QDialog(parent, Qt::Drawer | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint),
      ui(new Ui::cEditGroupsDialog), m_world(world) {
    ui->setupUi(this);
    setFixedSize(390, 241);
    ui->txtName->setValidator(new cWindows1251Validator(ui->txtName));
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->lstVisGroups, &QListWidget::currentItemChanged, this,
            &cEditGroupsDialog::exec_on_selectVisGroup);
    connect(ui->txtName, &QLineEdit::textEdited, this, &cEditGroupsDialog::exec_on_changeVisGroupName);
    connect(ui->btnColor, &QPushButton::clicked, this, &cEditGroupsDialog::exec_on_pickVisGroupColor);
    connect(ui->btnNew, &QPushButton::clicked, this, &cEditGroupsDialog::exec_on_addVisGroup);
    connect(ui->btnRemove, &QPushButton::clicked, this, &cEditGroupsDialog::exec_on_removeVisGroup);

    fill();
    if (preselectId != 0)
        for (int i = 0; i < ui->lstVisGroups->count(); ++i)
            if (ui->lstVisGroups->item(i)->data(kIdRole).toInt() == preselectId)
                ui->lstVisGroups->setCurrentRow(i);
}

cEditGroupsDialog::~cEditGroupsDialog() {
    delete ui;
}

void cEditGroupsDialog::retranslate() {
    ui->retranslateUi(this);
}

void cEditGroupsDialog::fill() {
    ui->lstVisGroups->clear();
    if (m_world && m_world->visGroups)
        for (const auto& [id, set] : *m_world->visGroups) {
            auto* row = new QListWidgetItem(set->name ? Text_FromWindows1251(set->name) : QString());
            row->setData(kIdRole, id);
            ui->lstVisGroups->addItem(row);
        }
    exec_on_selectVisGroup(ui->lstVisGroups->currentItem());
}

VisGroup* cEditGroupsDialog::currentSet() const {
    QListWidgetItem* row = ui->lstVisGroups->currentItem();
    return row ? Map_FindVisGroup(m_world, row->data(kIdRole).toInt()) : nullptr;
}

void cEditGroupsDialog::showColor(const VisGroup* set) {
    QPalette palette = QApplication::palette();
    if (set) palette.setColor(QPalette::Window, QColor(set->color[0], set->color[1], set->color[2]));
    ui->lblColor->setPalette(palette);
}

void cEditGroupsDialog::exec_on_selectVisGroup(QListWidgetItem* row) {
    const VisGroup* set = row ? Map_FindVisGroup(m_world, row->data(kIdRole).toInt()) : nullptr;
    ui->txtName->setText(set && set->name ? Text_FromWindows1251(set->name) : QString());
    showColor(set);
}

void cEditGroupsDialog::exec_on_addVisGroup() {
    VisGroup* set = Map_CreateVisGroup(m_world, "new group");
    if (!set) return;
    auto* row = new QListWidgetItem(QStringLiteral("new group"));
    row->setData(kIdRole, set->id);
    ui->lstVisGroups->addItem(row);
    ui->lstVisGroups->setCurrentItem(row);
}

void cEditGroupsDialog::exec_on_removeVisGroup() {
    QListWidgetItem* row = ui->lstVisGroups->currentItem();
    if (!row) return;
    VisGroup* set = Map_FindVisGroup(m_world, row->data(kIdRole).toInt());
    if (set && set->memberCount > 0) {
        const QString quote = QStringLiteral("\"");
        const QString text = tr("Are you sure to remove visgroup ") + quote + row->text() + quote +
                             tr(" containing %1 objects?").arg(set->memberCount);
        if (Prompt_Question(this, PromptIcon::Warning, text, PromptButton::Yes | PromptButton::No) ==
            PromptButton::No)
            return;
    }
    if (set) Map_DeleteVisGroup(m_world, set);
    delete row;
}

// The project file keeps names and colours: a change marks the map modified (still no undo step).
void cEditGroupsDialog::exec_on_pickVisGroupColor() {
    VisGroup* set = currentSet();
    if (!set) return;
    const QColor initial(set->color[0], set->color[1], set->color[2], set->color[3]);
    const QColor chosen =
        QColorDialog::getColor(initial, this, tr("Choose Color"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return;
    set = currentSet(); // the colour dialog ran an event loop
    if (!set) return;
    set->color[0] = uint8_t(chosen.red());
    set->color[1] = uint8_t(chosen.green());
    set->color[2] = uint8_t(chosen.blue());
    set->color[3] = 255;
    showColor(set);
    Project_SetModified(Map_Handle(m_world));
}

void cEditGroupsDialog::exec_on_changeVisGroupName() {
    QListWidgetItem* row = ui->lstVisGroups->currentItem();
    if (!row) return;
    row->setText(ui->txtName->text());
    VisGroup* set = Map_FindVisGroup(m_world, row->data(kIdRole).toInt());
    if (!set) return;
    const QByteArray name = Text_ToWindows1251(ui->txtName->text());
    if (qstrcmp(set->name ? set->name : "", name.constData()) == 0 && set->name) return;
    VisGroup_SetName(set, name.constData());
    Project_SetModified(Map_Handle(m_world));
}
