#include "views/CustomColorsDialog.h"

#include <QColorDialog>
#include <QListWidget>
#include <QPushButton>

#include "views/ViewHost.h"
#include "ui_CustomColorsDialog.h"
#include "render/ColorScheme.h"

void Color_FillListWidget(QListWidget* list) {
    list->clear();
    for (int32_t i = 0; i < kColorTableRows; ++i) {
        auto* item = new QListWidgetItem(QString::fromLatin1(Color_Table()[i].displayName), list);
        item->setData(Qt::UserRole, i);
    }
}

cCustomColorsDialog::cCustomColorsDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cCustomColorsDialog>()) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    const CustomColorEntry* custom = Color_CustomTable();
    for (int i = 0; i < kColorTableRows; ++i) {
        QColor colour(0, 0, 0, 255);
        for (int k = 0; k < kColorTableRows; ++k)
            if (custom[k].key == i) colour = custom[k].colour;
        working.append(colour);
    }
    Color_FillListWidget(ui->colorList);
    if (ui->colorList->count() > 0) {
        ui->colorList->setCurrentRow(0);
        exec_on_colorList_itemClicked(ui->colorList->item(0));
    }
    connect(ui->colorList, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) { exec_on_colorList_itemClicked(item); });
    connect(ui->colorList, &QListWidget::itemDoubleClicked, this,
            &cCustomColorsDialog::exec_on_colorList_itemDblClicked);
    connect(ui->colorChangeButton, &QToolButton::clicked, this,
            &cCustomColorsDialog::exec_on_colorChangeButton_click);
    connect(ui->buttonBox, &QDialogButtonBox::clicked, this, &cCustomColorsDialog::exec_on_buttonClick);
}

cCustomColorsDialog::~cCustomColorsDialog() = default;

QString cCustomColorsDialog::chooseColorTitle() {
    return tr("Choose Color");
}

int cCustomColorsDialog::rowOf(const QListWidgetItem* item) {
    return item ? std::clamp(item->data(Qt::UserRole).toInt(), 0, kColorTableRows - 1) : 0;
}

void cCustomColorsDialog::showRow(int row) {
    ui->lblColorName->setText(QStringLiteral("<b>%1</b>").arg(Color_GetName(row)));
    QPalette palette = ui->lblColorValue->palette();
    palette.setColor(QPalette::Window, working.value(row));
    ui->lblColorValue->setPalette(palette);
}

void cCustomColorsDialog::exec_on_colorList_itemClicked(QListWidgetItem* item) {
    showRow(rowOf(item));
}

void cCustomColorsDialog::pick(int row) {
    // Qt's own picker: the same dialog on every desktop, and one the program can drive.
    const QColor chosen = QColorDialog::getColor(working.value(row), this, chooseColorTitle(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return;
    working[row] = chosen;
    showRow(row);
}

void cCustomColorsDialog::exec_on_colorList_itemDblClicked(QListWidgetItem* item) {
    pick(rowOf(item));
}

void cCustomColorsDialog::exec_on_colorChangeButton_click() {
    pick(rowOf(ui->colorList->currentItem()));
}

void cCustomColorsDialog::apply() {
    Color_StoreCustomScheme(working);
    Color_ApplyCustomScheme();
    if (ViewHost* host = View_Host()) host->schemeColorsChanged();
}

void cCustomColorsDialog::exec_on_buttonClick(QAbstractButton* button) {
    switch (ui->buttonBox->buttonRole(button)) {
    case QDialogButtonBox::ApplyRole:
        apply();
        break;
    case QDialogButtonBox::RejectRole:
        reject();
        break;
    case QDialogButtonBox::AcceptRole:
        apply();
        accept();
        break;
    default:
        break;
    }
}
