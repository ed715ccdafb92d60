#include "dialogs/application/PathDialog.h"

#include <QPushButton>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "map/MapPath.h"
#include "views/DialogParent.h"

cPathDialog::cPathDialog(MapDocument* document, QWidget* parent) : QDialog(parent), m_document(document) {
    setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(431, 187);

    cbClass->addItems(Path_ClassNames(document ? document->gameConfig : nullptr));
    cbClass->setEditText(QString());

    connect(buttonBox, &QDialogButtonBox::accepted, this, &cPathDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &cPathDialog::reject);
    connect(txtName, &QLineEdit::textChanged, this, &cPathDialog::exec_on_checkInput);
    connect(cbClass, &QComboBox::editTextChanged, this, &cPathDialog::exec_on_checkInput);
    exec_on_checkInput();
}

void cPathDialog::loadPath(PathRecord* path) {
    editedPath = path;
    txtName->setText(Text_FromWindows1251(path->name));
    const QString className = Text_FromWindows1251(path->className);
    const int row =
        className.isEmpty() ? -1 : cbClass->findText(className, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row >= 0)
        cbClass->setCurrentIndex(row);
    else
        cbClass->setEditText(className);
    (path->type == 1 ? rbCircular : path->type == 2 ? rbPingPong : rbOneWay)->setChecked(true);
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
            if (!(eclass->helpers & EntityClassHelper::Path) && !name.startsWith("path_") &&
                !name.contains("Path"))
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
    // Map text is Windows-1251: anything else would be stored as '?', and two such names would
    // pass the check below yet end up equal.
    for (const QString& text : {name, dialog->cbClass->currentText()})
        if (!Text_FitsWindows1251(text)) {
            Prompt_Message(App_DialogParent(dialog), PromptIcon::Warning,
                           cPathDialog::tr("\"%1\" holds characters a map cannot store.").arg(text));
            return false;
        }
    const MapDocument* doc = dialog->document();
    if (!doc || !doc->world) return true;
    // Path names are map text: compare their Windows-1251 bytes.
    const QByteArray bytes = Text_ToWindows1251(name);
    for (const PathRecord* path = doc->world->paths; path; path = path->next) {
        if (path == dialog->editedPath || !path->name || bytes != QByteArray(path->name)) continue;
        Prompt_Message(
            App_DialogParent(dialog), PromptIcon::Warning,
            cPathDialog::tr("Path name is not unique: \"%1\"!\nPlease specify another path name.").arg(name));
        return false;
    }
    return true;
}
