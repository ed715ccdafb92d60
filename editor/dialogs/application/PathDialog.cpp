#include "dialogs/application/PathDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "mainwindow/MainWindow.h"
#include "map/MapPath.h"

cPathDialog::cPathDialog(MapDocument* document, QWidget* parent) : QDialog(parent), m_document(document) {
    setObjectName(QStringLiteral("cPathDialog"));
    setWindowTitle(tr("Path Properties"));
    setWindowIcon(QIcon(QStringLiteral(":/qrc/editpath.png")));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(431, 187);

    groupBox = new QGroupBox(tr("General"), this);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    txtName = new QLineEdit(groupBox);
    txtName->setObjectName(QStringLiteral("txtName"));
    cbClass = new QComboBox(groupBox);
    cbClass->setObjectName(QStringLiteral("cbClass"));
    cbClass->setEditable(true);
    auto* form = new QFormLayout(groupBox);
    form->addRow(tr("&Name:"), txtName);
    form->addRow(tr("&Class:"), cbClass);

    groupBox_3 = new QGroupBox(tr("Direction"), this);
    groupBox_3->setObjectName(QStringLiteral("groupBox_3"));
    rbOneWay = new QRadioButton(tr("&One way"), groupBox_3);
    rbOneWay->setObjectName(QStringLiteral("rbOneWay"));
    rbOneWay->setChecked(true);
    rbCircular = new QRadioButton(tr("Ci&rcular"), groupBox_3);
    rbCircular->setObjectName(QStringLiteral("rbCircular"));
    rbPingPong = new QRadioButton(tr("&Ping-pong"), groupBox_3);
    rbPingPong->setObjectName(QStringLiteral("rbPingPong"));
    auto* directions = new QVBoxLayout(groupBox_3);
    directions->addWidget(rbOneWay);
    directions->addWidget(rbCircular);
    directions->addWidget(rbPingPong);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    auto* row = new QHBoxLayout;
    row->addWidget(groupBox, 1);
    row->addWidget(groupBox_3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttonBox);

    cbClass->addItems(Path_ClassNames(document ? document->gameConfig : nullptr));
    cbClass->setEditText(QString());

    connect(buttonBox, &QDialogButtonBox::accepted, this, &cPathDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &cPathDialog::reject);
    connect(txtName, &QLineEdit::textChanged, this, &cPathDialog::exec_on_checkInput);
    connect(cbClass, &QComboBox::editTextChanged, this, &cPathDialog::exec_on_checkInput);
    exec_on_checkInput();
}

QStringList Path_ClassNames(const GameConfig* config) {
    QStringList names;
    const GameDataRegistry* registry = Fgd_Registry();
    if (!config || !registry) return names;
    bool first = true;
    for (const QString& path : config->GameData) {
        const GameData* file = registry->files.value(path, nullptr);
        if (!file || file->loadState == GameDataState::NotLoaded) continue;
        for (const auto& [name, eclass] : file->classes) {
            if (eclass->kind != EntityClassKind::Point) continue;
            if (!(eclass->helpers & EntityClassHelper::Path) && !name.startsWith("path_") && !name.contains("Path"))
                continue;
            const QString text = Text_FromWindows1251(name);
            if (first || !names.contains(text, Qt::CaseInsensitive)) names.append(text);
        }
        first = false;
    }
    names.sort();
    return names;
}

int cPathDialog::direction() const {
    return rbCircular->isChecked() ? 1 : rbPingPong->isChecked() ? 2 : 0;
}

void cPathDialog::exec_on_checkInput() {
    buttonBox->button(QDialogButtonBox::Ok)
        ->setEnabled(!txtName->text().trimmed().isEmpty() && !cbClass->currentText().trimmed().isEmpty());
}

void cPathDialog::accept() {
    if (Path_ValidateName(this)) QDialog::accept();
}

bool Path_ValidateName(cPathDialog* dialog) {
    const QString name = dialog->txtName->text().trimmed();
    const MapDocument* doc = dialog->document();
    if (!doc || !doc->world) return true;
    // Path names are map text: compare their Windows-1251 bytes.
    const QByteArray bytes = Text_ToWindows1251(name);
    for (const PathRecord* path = doc->world->paths; path; path = path->next) {
        if (path == dialog->editedPath || !path->name || bytes != QByteArray(path->name)) continue;
        Prompt_Message(
            App_DialogParent(dialog), PromptIcon::Warning,
            QObject::tr("Path name is not unique: \"%1\"!\nPlease specify another path name.").arg(name));
        return false;
    }
    return true;
}
