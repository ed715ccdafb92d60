#include "core/Prompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <utility>

#include "core/System.h"

namespace {

const QString kPromptTitle = QStringLiteral("Z.A.R.V.");
cPromptScript* s_script = nullptr;

} // namespace

struct PromptScriptAccess {
    static int32_t button(cPromptScript* script, int32_t offered) {
        if (!script->buttons.isEmpty()) return script->buttons.takeFirst();
        return (offered & PromptButton::Cancel) ? PromptButton::Cancel : PromptButton::No;
    }
    static QString text(cPromptScript* script) {
        return script->texts.isEmpty() ? QString() : script->texts.takeFirst();
    }
    static int32_t choice(cPromptScript* script) {
        return script->choices.isEmpty() ? -1 : script->choices.takeFirst();
    }
    // The filter a dialog would report: the scripted pick, else the preselected one when it is
    // offered, else the first of the list.
    static QString filter(cPromptScript* script, const QString& offered, const QString& preselected) {
        if (!script->filters.isEmpty()) return script->filters.takeFirst();
        const QStringList list = offered.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
        if (list.contains(preselected)) return preselected;
        return list.value(0);
    }
    static bool integer(cPromptScript* script, int32_t* value) {
        if (script->integers.isEmpty()) return false;
        *value = script->integers.takeFirst();
        return true;
    }
};

// Records a request in the script and lets the test see it.
static void record(const PromptRequest& request) {
    s_script->asked.append(request);
    if (s_script->onAsk) s_script->onAsk(request);
}

cPromptScript::cPromptScript() : previous(s_script) {
    s_script = this;
}

cPromptScript::~cPromptScript() {
    s_script = previous;
}

static PromptRequest makeRequest(PromptKind kind, PromptIcon icon, const QString& text) {
    PromptRequest request;
    request.kind = kind;
    request.icon = icon;
    request.title = kPromptTitle;
    request.text = text;
    return request;
}

int32_t Prompt_Question(QWidget* parent, PromptIcon icon, const QString& text, int32_t buttons) {
    return Prompt_Question(parent, icon, text, buttons, PromptDetails());
}

int32_t Prompt_Question(QWidget* parent, PromptIcon icon, const QString& text, int32_t buttons,
                        const PromptDetails& details) {
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::Question, icon, text);
        request.buttons = buttons;
        request.defaultButton = details.defaultButton;
        request.informative = details.informative;
        request.detailed = details.detailed;
        request.windowIcon = details.windowIcon;
        record(request);
        return PromptScriptAccess::button(s_script, buttons);
    }
    static const struct {
        int32_t ours;
        QMessageBox::StandardButton qt;
    } kButtons[] = {{PromptButton::Ok, QMessageBox::Ok},          {PromptButton::Yes, QMessageBox::Yes},
                    {PromptButton::No, QMessageBox::No},          {PromptButton::Cancel, QMessageBox::Cancel},
                    {PromptButton::Abort, QMessageBox::Abort},    {PromptButton::Retry, QMessageBox::Retry},
                    {PromptButton::Ignore, QMessageBox::Ignore},  {PromptButton::Save, QMessageBox::Save},
                    {PromptButton::Discard, QMessageBox::Discard}};
    QMessageBox::StandardButtons offered;
    for (const auto& b : kButtons)
        if (buttons & b.ours) offered |= b.qt;
    static const QMessageBox::Icon kIcons[] = {QMessageBox::Information, QMessageBox::Question,
                                               QMessageBox::Warning, QMessageBox::Critical};
    QMessageBox box(kIcons[int(icon)], kPromptTitle, text, offered, parent);
    box.setInformativeText(details.informative);
    box.setDetailedText(details.detailed);
    for (const auto& b : kButtons)
        if (details.defaultButton == b.ours && (offered & b.qt)) box.setDefaultButton(b.qt);
    if (!details.windowIcon.isNull()) box.setWindowIcon(details.windowIcon);
    const int answer = box.exec();
    for (const auto& b : kButtons)
        if (answer == b.qt) return b.ours;
    return (buttons & PromptButton::Cancel) ? PromptButton::Cancel : PromptButton::No;
}

void Prompt_Message(QWidget* parent, PromptIcon icon, const QString& text) {
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::Message, icon, text);
        request.buttons = PromptButton::Ok;
        record(request);
        return;
    }
    Prompt_Question(parent, icon, text, PromptButton::Ok);
}

QString Prompt_GetText(QWidget* parent, const QString& label, const QString& initial) {
    return Prompt_GetText(parent, kPromptTitle, label, initial);
}

QString Prompt_GetText(QWidget* parent, const QString& title, const QString& label, const QString& initial) {
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::Text, PromptIcon::Question, label);
        request.title = title;
        request.initial = initial;
        record(request);
        return PromptScriptAccess::text(s_script);
    }
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? text : QString();
}

QString Prompt_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter, QString* selectedFilter) {
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::SaveFileName, PromptIcon::Question, caption);
        request.directory = directory;
        request.filter = filter;
        if (selectedFilter) request.selectedFilter = *selectedFilter;
        record(request);
        const QString answer = PromptScriptAccess::text(s_script);
        if (selectedFilter && !answer.isEmpty())
            *selectedFilter = PromptScriptAccess::filter(s_script, filter, request.selectedFilter);
        return answer;
    }
    return Sys_GetSaveFileName(parent, caption, directory, filter, selectedFilter);
}

// A file request recorded for the script; the script's next text answers it.
static bool scriptedFileRequest(PromptKind kind, const QString& caption, const QString& directory,
                                const QString& filter, QString* answer, QString* selectedFilter = nullptr) {
    if (!s_script) return false;
    PromptRequest request = makeRequest(kind, PromptIcon::Question, caption);
    request.directory = directory;
    request.filter = filter;
    if (selectedFilter) request.selectedFilter = *selectedFilter;
    record(request);
    *answer = PromptScriptAccess::text(s_script);
    if (selectedFilter && !answer->isEmpty())
        *selectedFilter = PromptScriptAccess::filter(s_script, filter, request.selectedFilter);
    return true;
}

QString Prompt_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter) {
    QString answer;
    if (scriptedFileRequest(PromptKind::OpenFileName, caption, directory, filter, &answer)) return answer;
    return Sys_GetOpenFileName(parent, caption, directory, filter);
}

QStringList Prompt_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter, QString* selectedFilter) {
    QString answer;
    if (scriptedFileRequest(PromptKind::OpenFileNames, caption, directory, filter, &answer, selectedFilter))
        return answer.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return Sys_GetOpenFileNames(parent, caption, directory, filter, selectedFilter);
}

QString Prompt_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
    QString answer;
    if (scriptedFileRequest(PromptKind::Directory, caption, directory, QString(), &answer)) return answer;
    return Sys_GetExistingDirectory(parent, caption, directory);
}

int32_t Prompt_GetInteger(QWidget* parent, const QString& title, const QString& label, int32_t initial,
                          int32_t min, int32_t max, int32_t step, bool* ok) {
    if (min > max) std::swap(min, max);
    initial = std::clamp(initial, min, max);
    if (step < 1) step = 1;
    bool confirmed = false;
    int32_t value = initial;
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::Integer, PromptIcon::Question, label);
        request.title = title;
        request.value = initial;
        request.minimum = min;
        request.maximum = max;
        request.step = step;
        record(request);
        confirmed = PromptScriptAccess::integer(s_script, &value);
        value = confirmed ? std::clamp(value, min, max) : initial;
    } else {
        value = QInputDialog::getInt(parent, title, label, initial, min, max, step, &confirmed);
        if (!confirmed) value = initial;
    }
    if (ok) *ok = confirmed;
    return value;
}

int32_t Prompt_Choose(QWidget* parent, const QString& label, const QStringList& items) {
    if (s_script) {
        PromptRequest request = makeRequest(PromptKind::Choice, PromptIcon::Question, label);
        request.items = items;
        record(request);
        const int32_t index = PromptScriptAccess::choice(s_script);
        return (index >= 0 && index < items.size()) ? index : -1;
    }
    if (items.isEmpty()) return -1;
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, kPromptTitle, label, items, 0, false, &ok);
    return ok ? int32_t(items.indexOf(item)) : -1;
}

namespace {
GameConfigChooser s_gameConfigChooser = nullptr;
} // namespace

void Prompt_SetGameConfigChooser(GameConfigChooser chooser) {
    s_gameConfigChooser = chooser;
}

int32_t Prompt_ChooseGameConfig(const QStringList& titles) {
    if (s_gameConfigChooser && !s_script) return s_gameConfigChooser(titles);
    return Prompt_Choose(nullptr, QStringLiteral("Select game configuration:"), titles);
}

static int32_t s_beeps = 0;

void Prompt_Beep() {
    ++s_beeps;
    QApplication::beep();
}

int32_t Prompt_BeepCount() {
    return s_beeps;
}
