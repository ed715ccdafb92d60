#include "dialogs/application/DefaultRoomDialog.h"

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "dialogs/application/DialogHost.h"
#include "gamedata/GameDataHost.h"
#include "ui_DefaultRoomDialog.h"

namespace {

QString profileText(const char* field) {
    return Text_FromWindows1251(field, qsizetype(qstrnlen(field, 64)));
}

} // namespace

cDefaultRoomDialog::cDefaultRoomDialog(const MapProfileRecord* profile_)
    : QDialog(Dialog_Window()), ui(std::make_unique<Ui::cDefaultRoomDialog>()), profile(profile_) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
    if (profile) {
        const struct {
            QLineEdit* edit;
            const char* name;
        } presets[] = {{ui->txtWall, profile->wallTexture},
                       {ui->txtCeil, profile->ceilingTexture},
                       {ui->txtFloor, profile->floorTexture}};
        for (const auto& preset : presets)
            if (preset.name[0]) preset.edit->setText(profileText(preset.name));
        TextureManager* textures = GameData_Textures();
        if (profile->nullTexture[0] && textures) nullShader = Tex_FindShader(textures, profile->nullTexture);
    }
    ui->cbNullFaces->setEnabled(nullShader);
    ui->cbNullFaces->setChecked(nullShader);
    ui->cbNoShow->setChecked(Sys_Settings().SkipDefaultRoomDialog);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cDefaultRoomDialog::exec_on_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &cDefaultRoomDialog::exec_on_reject);
}

cDefaultRoomDialog::~cDefaultRoomDialog() = default;

bool cDefaultRoomDialog::ask(const MapProfileRecord* profile, DefaultRoomParameters* out) {
    cDefaultRoomDialog dialog(profile);
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.getParameters(out);
    return true;
}

void cDefaultRoomDialog::getParameters(DefaultRoomParameters* out) const {
    if (!out) return;
    out->width = float(ui->sbX->value());
    out->length = float(ui->sbY->value());
    out->height = float(ui->sbZ->value());
    out->profileFlags = profile ? int32_t(profile->capabilities) : 0;
    out->wallTexture = ui->txtWall->text();
    out->ceilingTexture = ui->txtCeil->text();
    out->floorTexture = ui->txtFloor->text();
    out->nullTexture = nullShader && ui->cbNullFaces->isChecked() ? profileText(nullShader->name) : QString();
    out->playerStartClass = profile ? profileText(profile->playerStartClass) : QString();
    out->lightClass = profile ? profileText(profile->lightClass) : QString();
}

void cDefaultRoomDialog::storeNoShow() {
    MainSettings* settings = Sys_MutableSettings();
    if (!settings) return;
    bool& skip = settings->SkipDefaultRoomDialog;
    if (ui->cbNoShow->isChecked() && !skip)
        Prompt_Message(this, PromptIcon::Warning,
                       tr("You have chosen not to display the dialog later upon creation of a new map. To "
                          "invoke it again, click the \"New\" button (or a corresponding menu item) holding "
                          "the SHIFT key."));
    skip = ui->cbNoShow->isChecked();
}

void cDefaultRoomDialog::exec_on_accept() {
    storeNoShow();
    accept();
}

void cDefaultRoomDialog::exec_on_reject() {
    storeNoShow();
    reject();
}

void cDefaultRoomDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->sbX->selectAll();
    ui->sbX->setFocus();
}
