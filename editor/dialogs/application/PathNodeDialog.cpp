#include "dialogs/application/PathNodeDialog.h"

#include <QPushButton>
#include <cmath>

#include "core/NumberText.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/CustomAngleBox.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/TargetNames.h"
#include "kstdlib/kmath.h"
#include "map/EPair.h"
#include "map/MapPath.h"
#include "map/ObjectRecords.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "views/DialogParent.h"

namespace {

// The node keys behind the four number fields, in the order of cPathNodeDialog::numbers.
struct NumberKey {
    const char* key;
    uint8_t bit;
    QLineEdit* Ui_cPathNodeDialog::*field;
};
constexpr NumberKey kNumberKeys[] = {
    {"speed", NodeEdit::Speed, &Ui_cPathNodeDialog::txtSpeed},
    {"yaw_speed", NodeEdit::YawSpeed, &Ui_cPathNodeDialog::txtYawSpeed},
    {"wait", NodeEdit::Wait, &Ui_cPathNodeDialog::txtWait},
    {"fov", NodeEdit::Fov, &Ui_cPathNodeDialog::txtFOV},
};

QString noChange() {
    return cPathNodeDialog::tr("(no change)");
}
QString autoAngles() {
    return cPathNodeDialog::tr("(auto)");
}

float keyFloat(const NodeRecord* node, const char* key) {
    const EPair* pair = EPair_Find(node->epairs, key);
    return pair && pair->value ? Key_ToFloat(pair->value) : 0.0f;
}

int32_t keyInt(const NodeRecord* node, const char* key) {
    const EPair* pair = EPair_Find(node->epairs, key);
    return pair && pair->value ? Key_ToInt(pair->value) : 0;
}

QString number(float value) {
    return QString::number(double(value), 'g', 6);
}

QString anglesText(const float a[3]) {
    return QStringLiteral("%1 %2 %3").arg(int(a[0])).arg(int(a[1])).arg(int(a[2]));
}

// Up to three angles from the text split at single blanks; a part that is no number reads 0,
// missing parts keep their values. ok (when given) tells whether every non-empty part was one
// (finite, within the keys' limit).
void parseAngles(const QString& text, float angles[3], bool* ok = nullptr) {
    const QStringList parts = text.split(QLatin1Char(' '));
    if (ok) *ok = true;
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i) {
        float value = 0.0f;
        const bool read = Number_Read(parts[i], -kNumberKeyLimit, kNumberKeyLimit, &value);
        angles[i] = read ? value : 0.0f;
        if (ok && !read && !parts[i].isEmpty()) *ok = false;
    }
}

// A number field's value: 0 for an empty field (which removes the key); false when the text is
// no finite number within the keys' limit.
bool fieldNumber(const QString& text, float* value) {
    if (text.isEmpty()) {
        *value = 0.0f;
        return true;
    }
    return Number_Read(text, -kNumberKeyLimit, kNumberKeyLimit, value);
}

bool isUpOrDown(const float a[3]) {
    return std::fabs(a[0]) == 90.0f && a[1] == 0.0f && a[2] == 0.0f;
}

// Writes a non-zero value as the key's text, replacing or appending; zero removes the key.
void writeKey(NodeRecord* node, const char* key, const QByteArray& text, bool zero) {
    cMapNode* handle = node->handle;
    if (!handle) return;
    if (zero)
        handle->removeKey(key);
    else if (!handle->setKeyValue(key, text.constData()))
        handle->appendKeyValue(key, text.constData());
}

// A missing text and an empty one are the same: no name, no target.
void replaceText(char*& field, const QString& text) {
    const QByteArray bytes = Text_ToWindows1251(text);
    if (bytes == QByteArray(field ? field : "")) return;
    Sys_Free(field);
    field = bytes.isEmpty() ? nullptr : Sys_StrDup(bytes.constData());
}

} // namespace

cPathNodeDialog::cPathNodeDialog(MapDocument* document, QWidget* parent)
    : QDialog(parent), m_document(document) {
    setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(282, 339);

    angleBox = new QCustomAngleBox(angleWidget);
    angleBox->setGeometry(0, 0, 60, 50);
    cbAngle->addItem(tr("Up"));
    cbAngle->addItem(tr("Down"));
    cbAngle->setEditText(QString());

    MapWorld* world = document ? document->world : nullptr;
    cbTarget->addItems(Map_TargetNames(world));

    // The first 3D view of the document's windows.
    if (document)
        for (cChildWindow* window : document->windows) {
            for (const cCanvas* view : window->views)
                if (view && view->is3D()) {
                    cameraAngles = QStringLiteral("%1 %2 %3")
                                       .arg(int(-view->angles[0]))
                                       .arg(int(view->angles[1]))
                                       .arg(int(view->angles[2]));
                    break;
                }
            if (!cameraAngles.isEmpty()) break;
        }

    connect(buttonBox, &QDialogButtonBox::accepted, this, &cPathNodeDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &cPathNodeDialog::reject);
    connect(angleBox, &QCustomAngleBox::valueChanged, cbAngle, &QComboBox::setEditText);
    connect(cbAngle, &QComboBox::editTextChanged, this, &cPathNodeDialog::exec_on_setAngle);
    connect(txtAngles, &QLineEdit::textEdited, this, &cPathNodeDialog::exec_on_modifyAngles);
    connect(btnAutoAngle, &QPushButton::clicked, this, &cPathNodeDialog::exec_on_setAutoAngle);
    connect(btnCameraAngle, &QPushButton::clicked, this, &cPathNodeDialog::exec_on_setCameraAngle);
}

void cPathNodeDialog::loadNodes(NodeRecord* first) {
    if (!first) return;
    editMask = 0xff;
    name = Text_FromWindows1251(first->name);
    target = Text_FromWindows1251(first->message);
    std::copy(first->angles, first->angles + 3, angles);
    for (size_t i = 0; i < std::size(kNumberKeys); ++i)
        numbers[i] = keyFloat(first, kNumberKeys[i].key);
    spawnflags = keyInt(first, "spawnflags");

    for (const NodeRecord* node = first->selNext; node; node = node->selNext) {
        if (Text_FromWindows1251(node->name) != name) editMask &= ~NodeEdit::Name;
        if (Text_FromWindows1251(node->message) != target) editMask &= ~NodeEdit::Target;
        if (!std::equal(angles, angles + 3, node->angles)) editMask &= ~NodeEdit::Angles;
        for (size_t i = 0; i < std::size(kNumberKeys); ++i)
            if (keyFloat(node, kNumberKeys[i].key) != numbers[i]) editMask &= ~kNumberKeys[i].bit;
        if (keyInt(node, "spawnflags") != spawnflags) editMask &= ~NodeEdit::SpawnFlags;
    }

    txtName->setText(editMask & NodeEdit::Name ? name : noChange());
    const QString shownTarget = editMask & NodeEdit::Target ? target : noChange();
    const int row = cbTarget->findText(shownTarget, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row >= 0)
        cbTarget->setCurrentIndex(row);
    else
        cbTarget->setEditText(shownTarget);
    txtAngles->setText(editMask & NodeEdit::Angles ? anglesText(angles) : noChange());
    exec_on_modifyAngles(txtAngles->text());
    for (size_t i = 0; i < std::size(kNumberKeys); ++i)
        (this->*kNumberKeys[i].field)
            ->setText(editMask & kNumberKeys[i].bit ? number(numbers[i]) : noChange());
    if (editMask & NodeEdit::SpawnFlags) {
        cbRetrigger->setTristate(false);
        cbRetrigger->setChecked(spawnflags & kNodeRetrigger);
    } else {
        cbRetrigger->setTristate(true);
        cbRetrigger->setCheckState(Qt::PartiallyChecked);
    }
}

void cPathNodeDialog::exec_on_modifyAngles(const QString& text) {
    updatingAngles = true;
    if (txtAngles->text() == noChange() || txtAngles->text() == autoAngles()) {
        cbAngle->setEditText(tr("(diff)"));
    } else {
        parseAngles(text, angles);
        if (angles[1] == 0.0f && angles[2] == 0.0f && (angles[0] == -90.0f || angles[0] == 90.0f)) {
            cbAngle->setCurrentIndex(angles[0] < 0 ? 0 : 1);
        } else {
            int yaw = int(angles[1]);
            if (yaw < 0) yaw = (yaw % 360 + 360) % 360;
            cbAngle->setEditText(QString::number(yaw));
        }
    }
    angleBox->setAngle(cbAngle->currentText());
    updatingAngles = false;
}

void cPathNodeDialog::exec_on_setAngle(const QString& text) {
    const int value = angleBox->setAngle(text);
    if (!updatingAngles) applyYaw(value);
}

void cPathNodeDialog::applyYaw(int value) {
    if (value == -3) return;
    if (value == -1 || value == -2) {
        angles[0] = value == -1 ? -90.0f : 90.0f;
        angles[1] = angles[2] = 0.0f;
    } else {
        if (isUpOrDown(angles)) angles[0] = angles[2] = 0.0f;
        angles[1] = float(value);
    }
    txtAngles->setText(anglesText(angles));
}

void cPathNodeDialog::exec_on_setAutoAngle() {
    txtAngles->setText(autoAngles());
    exec_on_modifyAngles(autoAngles());
}

void cPathNodeDialog::exec_on_setCameraAngle() {
    if (cameraAngles.isEmpty()) return;
    txtAngles->setText(cameraAngles);
    exec_on_modifyAngles(cameraAngles);
}

void cPathNodeDialog::accept() {
    auto refuse = [this](const QString& text) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning, text);
    };
    for (const QString& text : {txtName->text(), cbTarget->currentText()})
        if (!Text_FitsWindows1251(text)) {
            refuse(tr("\"%1\" holds characters a map cannot store.").arg(text));
            return;
        }
    // A typo must not read as 0, which would remove the key from every node.
    for (const NumberKey& k : kNumberKeys) {
        const QString text = (this->*k.field)->text();
        float value = 0.0f;
        if (text != noChange() && !fieldNumber(text, &value)) {
            refuse(tr("\"%1\" is not a number.").arg(text));
            return;
        }
    }
    const QString anglesField = txtAngles->text();
    if (anglesField != noChange() && anglesField != autoAngles()) {
        float scratch[3] = {};
        bool ok = true;
        parseAngles(anglesField, scratch, &ok);
        if (!ok) {
            refuse(tr("\"%1\" is not a number.").arg(anglesField));
            return;
        }
    }
    QDialog::accept();
}

void cPathNodeDialog::applyToNodes(NodeRecord* first) {
    if (!first) return;
    const QString nameText = txtName->text();
    const QString targetText = cbTarget->currentText();
    const QString anglesField = txtAngles->text();
    const bool automatic = anglesField == autoAngles();
    if (!automatic && anglesField != noChange()) parseAngles(anglesField, angles);
    for (size_t i = 0; i < std::size(kNumberKeys); ++i)
        fieldNumber((this->*kNumberKeys[i].field)->text(), &numbers[i]);
    const bool retrigger = cbRetrigger->checkState() == Qt::Checked;

    editMask = 0;
    if (nameText != noChange()) editMask |= NodeEdit::Name;
    if (targetText != noChange()) editMask |= NodeEdit::Target;
    if (anglesField != noChange()) editMask |= NodeEdit::Angles;
    for (const NumberKey& k : kNumberKeys)
        if ((this->*k.field)->text() != noChange()) editMask |= k.bit;
    if (cbRetrigger->checkState() != Qt::PartiallyChecked) editMask |= NodeEdit::SpawnFlags;

    for (NodeRecord* node = first; node; node = node->selNext) {
        if (editMask & NodeEdit::Name) replaceText(node->name, nameText);
        if (editMask & NodeEdit::Target) replaceText(node->message, targetText);
        if (editMask & NodeEdit::Angles) {
            if (automatic)
                Node_ComputeAutoAngles(node);
            else
                std::copy(angles, angles + 3, node->angles);
        }
        for (size_t i = 0; i < std::size(kNumberKeys); ++i)
            if (editMask & kNumberKeys[i].bit)
                writeKey(node, kNumberKeys[i].key, number(numbers[i]).toLatin1(), numbers[i] == 0.0f);
        if (editMask & NodeEdit::SpawnFlags) {
            // Only the retrigger bit is the dialog's; each node keeps its other flags.
            int32_t flags = keyInt(node, "spawnflags");
            flags = retrigger ? flags | kNodeRetrigger : flags & ~kNodeRetrigger;
            writeKey(node, "spawnflags", QByteArray::number(flags), flags == 0);
        }
        if (node->path) node->path->flags |= PathFlag::NeedsUpdate;
    }
}

void Node_ComputeAutoAngles(NodeRecord* node) {
    vec3 direction = {0, 0, 0};
    const NodeRecord* from = node;
    const NodeRecord* to = node->next;
    if (!to && node->path && node->path->type == 1 && node->path->firstNode != node)
        to = node->path->firstNode;
    if (!to && node->prev) {
        from = node->prev;
        to = node;
    }
    if (!to) {
        node->angles[0] = node->angles[1] = node->angles[2] = 0.0f;
        return;
    }
    for (int i = 0; i < 3; ++i)
        direction[i] = to->origin[i] - from->origin[i];
    K_VectorNormalize(direction);
    K_VectorToAngles(direction, node->angles);
}
