// The dialog's key/value clipboard text ("!!EPAIRS", an optional classname line, one quoted pair
// per line) and the class help page.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/Script.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
#include "map/MapEntity.h"
#include "dialogs/application/DialogHost.h"
#include "ui_ObjectPropertiesDialog.h"

namespace {

constexpr int kPasteKeyLimit = 255;
constexpr int kPasteValueLimit = 1535;
const QByteArray kHeader = "!!EPAIRS";
const QByteArray kNoChange = "(no change)";

// Text that would not read back as one quoted token.
bool unquotable(const char* text) {
    for (const char* c = text; c && *c; ++c)
        if (*c == '"' || *c == '\n' || *c == '\r') return true;
    return false;
}

} // namespace

QByteArray cObjectPropertiesDialog::copyText() const {
    QByteArray text = kHeader + '\n';
    if (!m_head) return text;
    bool sameClass = true;
    for (EntityRecord* e = m_head; e; e = e->selNext)
        sameClass = sameClass && qstrcmp(e->classname, m_head->classname) == 0;
    if (sameClass && m_head->classname) text += "\"classname\" \"" + QByteArray(m_head->classname) + "\"\n";
    QList<QByteArray> keys, values;
    for (EntityRecord* e : edited()) {
        const char* flagsKey = e->handle->keyName(KEY_SPAWNFLAGS);
        const char* originKey = e->handle->keyName(KEY_ORIGIN);
        for (EPair* p = e->epairs; p; p = p->next) {
            if (!p->key || qstricmp(p->key, flagsKey) == 0 || qstricmp(p->key, originKey) == 0) continue;
            // The text has no escapes: a quote or line break would paste back as other keys.
            if (unquotable(p->key) || unquotable(p->value)) {
                Sys_Warning("key '%s' is not copied: its text holds a quote or a line break", p->key);
                continue;
            }
            const QByteArray value = p->value ? p->value : "";
            qsizetype i = 0;
            while (i < keys.size() && keys[i].compare(p->key, Qt::CaseInsensitive) != 0)
                ++i;
            if (i == keys.size()) {
                keys.append(p->key);
                values.append(value);
            } else if (values[i] != value || keys[i] != p->key) {
                values[i] = kNoChange;
            }
        }
    }
    QList<QByteArray> lines;
    for (qsizetype i = 0; i < keys.size(); ++i)
        lines.append('"' + keys[i] + "\" \"" + values[i] + '"');
    return text + lines.join('\n');
}

void cObjectPropertiesDialog::exec_on_copyEpairs() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return;
    // Map text crosses as Windows-1251 bytes, read back by the same helper.
    clipboard->setText(Text_FromWindows1251(copyText()), QClipboard::Clipboard);
}

bool cObjectPropertiesDialog::pasteText(const QByteArray& text) {
    if (!m_head || text.isEmpty()) return false;
    Script_LoadMemory(text.constData(), uint32_t(text.size()), 0);
    if (!Script_GetToken(true) || qstrcmp(Script_Token(), kHeader.constData()) != 0) {
        Script_Close();
        return false;
    }
    struct Pair {
        QByteArray key, value;
    };
    QList<Pair> pairs;
    bool ok = true;
    while (Script_TryGetToken(true)) {
        if (qstrlen(Script_Token()) >= size_t(SCRIPT_MAX_TOKEN - 1)) {
            Sys_Error("token too large on line %i", Script_Line());
            ok = false;
            break;
        }
        QByteArray key = Script_Token();
        if (!Script_TryGetToken(false)) {
            Sys_Error("line %i is incomplete", Script_Line());
            ok = false;
            break;
        }
        if (qstrlen(Script_Token()) >= size_t(SCRIPT_MAX_TOKEN - 1)) {
            Sys_Error("token too large on line %i", Script_Line());
            ok = false;
            break;
        }
        pairs.append({key.left(kPasteKeyLimit), QByteArray(Script_Token()).left(kPasteValueLimit)});
    }
    Script_Close();
    // A pasted origin or angle the map cannot hold is refused (each with its message), the rest goes in.
    pairs.removeIf([this](const Pair& p) { return !placementAccepted(p.key, p.value); });
    QByteArray classname;
    bool changes = false;
    for (const Pair& p : pairs) {
        if (p.key == "classname")
            classname = p.value;
        else if (p.value != kNoChange)
            changes = true;
    }
    if (changes) {
        beginEdit("Paste Keyvalues");
        for (const Pair& p : pairs) {
            if (p.key == "classname" || p.value == kNoChange) continue;
            for (EntityRecord* e : edited()) {
                cMapEntity* m = e->handle;
                if (EPair* pair = m->findKey(p.key.constData())) {
                    setAnglesFromValue(e, p.key, p.value);
                    if (qstrcmp(pair->value ? pair->value : "", p.value.constData()) != 0)
                        EPair_SetValue(pair, p.value.constData());
                } else {
                    markModified();
                    m->prependKeyValue(p.key.constData(), p.value.constData());
                    setAnglesFromValue(e, p.key, p.value);
                }
            }
        }
        for (EntityRecord* e = m_head; e; e = e->selNext) {
            cMapEntity* m = e->handle;
            m->updateTargets();
            m->readRenderKeys();
            m->readModelKeys();
            if (m->isWorld()) m->readSkyKeys();
        }
        markModified();
        fillKeyValueTable();
        loadAngles();
    }
    // The class comes last: its change is a level of its own and rebinds the pasted keys.
    if (!classname.isEmpty() && ui->cbClassList->isEnabled()) {
        ui->cbClassList->setEditText(Text_FromWindows1251(classname));
        exec_on_commitClass();
    }
    return ok;
}

void cObjectPropertiesDialog::exec_on_pasteEpairs() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return;
    pasteText(Text_ToWindows1251(clipboard->text(QClipboard::Clipboard)));
}

// ---- Help ------------------------------------------------------------------------------------------

void cObjectPropertiesDialog::exec_on_showHelp() {
    if (!m_head || !m_head->handle || !m_head->handle->entityClass) return;
    if (DialogHost* host = Dialog_Host()) host->showEntityHelp(buildClassHelp(m_head->handle->entityClass));
}

void cObjectPropertiesDialog::refreshEntityHelp() {
    DialogHost* host = Dialog_Host();
    if (!host || !host->entityHelpVisible()) return;
    EntityClass* eclass = m_head && m_head->handle ? m_head->handle->entityClass : nullptr;
    host->setEntityHelpText(eclass ? buildClassHelp(eclass) : QString());
}
