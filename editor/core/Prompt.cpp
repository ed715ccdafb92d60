#include "core/Prompt.h"

#include <algorithm>
#include <utility>

namespace {

const QString kPromptTitle = QStringLiteral("Z.A.R.V.");
cPromptScript* s_script = nullptr;
PromptHost* s_host = nullptr;

// The installed host's answer; without a host nobody answers, as if the box were closed.
PromptAnswer askHost(QWidget* parent, const PromptRequest& request) {
    return s_host ? s_host->ask(parent, request) : PromptAnswer();
}

} // namespace

PromptHost* Prompt_Host() {
    return s_host;
}

PromptHost* Prompt_SetHost(PromptHost* host) {
    return std::exchange(s_host, host);
}

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
    PromptRequest request = makeRequest(PromptKind::Question, icon, text);
    request.buttons = buttons;
    request.defaultButton = details.defaultButton;
    request.informative = details.informative;
    request.detailed = details.detailed;
    request.windowIcon = details.windowIcon;
    if (s_script) {
        record(request);
        return PromptScriptAccess::button(s_script, buttons);
    }
    const PromptAnswer answer = askHost(parent, request);
    if (answer.accepted && (answer.button & buttons)) return answer.button;
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
    PromptRequest request = makeRequest(PromptKind::Text, PromptIcon::Question, label);
    request.title = title;
    request.initial = initial;
    if (s_script) {
        record(request);
        return PromptScriptAccess::text(s_script);
    }
    const PromptAnswer answer = askHost(parent, request);
    return answer.accepted ? answer.texts.value(0) : QString();
}

// A file request: the names chosen (none when cancelled), and the filter chosen when asked for. A
// script answers with its next text, several names on separate lines.
static QStringList fileRequest(QWidget* parent, PromptKind kind, const QString& caption,
                               const QString& directory, const QString& filter,
                               QString* selectedFilter = nullptr) {
    PromptRequest request = makeRequest(kind, PromptIcon::Question, caption);
    request.directory = directory;
    request.filter = filter;
    if (selectedFilter) request.selectedFilter = *selectedFilter;
    if (s_script) {
        record(request);
        const QString answer = PromptScriptAccess::text(s_script);
        if (selectedFilter && !answer.isEmpty())
            *selectedFilter = PromptScriptAccess::filter(s_script, filter, request.selectedFilter);
        if (kind == PromptKind::OpenFileNames) return answer.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return {answer};
    }
    const PromptAnswer answer = askHost(parent, request);
    if (!answer.accepted) return {};
    if (selectedFilter) *selectedFilter = answer.selectedFilter;
    return answer.texts;
}

QString Prompt_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter, QString* selectedFilter) {
    return fileRequest(parent, PromptKind::SaveFileName, caption, directory, filter, selectedFilter).value(0);
}

QString Prompt_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter) {
    return fileRequest(parent, PromptKind::OpenFileName, caption, directory, filter).value(0);
}

QStringList Prompt_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter, QString* selectedFilter) {
    return fileRequest(parent, PromptKind::OpenFileNames, caption, directory, filter, selectedFilter);
}

QString Prompt_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
    return fileRequest(parent, PromptKind::Directory, caption, directory, QString()).value(0);
}

int32_t Prompt_GetInteger(QWidget* parent, const QString& title, const QString& label, int32_t initial,
                          int32_t min, int32_t max, int32_t step, bool* ok) {
    if (min > max) std::swap(min, max);
    initial = std::clamp(initial, min, max);
    if (step < 1) step = 1;
    bool confirmed = false;
    int32_t value = initial;
    PromptRequest request = makeRequest(PromptKind::Integer, PromptIcon::Question, label);
    request.title = title;
    request.value = initial;
    request.minimum = min;
    request.maximum = max;
    request.step = step;
    if (s_script) {
        record(request);
        confirmed = PromptScriptAccess::integer(s_script, &value);
    } else {
        const PromptAnswer answer = askHost(parent, request);
        confirmed = answer.accepted;
        value = answer.value;
    }
    value = confirmed ? std::clamp(value, min, max) : initial;
    if (ok) *ok = confirmed;
    return value;
}

int32_t Prompt_Choose(QWidget* parent, const QString& label, const QStringList& items) {
    PromptRequest request = makeRequest(PromptKind::Choice, PromptIcon::Question, label);
    request.items = items;
    if (s_script) {
        record(request);
        const int32_t index = PromptScriptAccess::choice(s_script);
        return (index >= 0 && index < items.size()) ? index : -1;
    }
    if (items.isEmpty()) return -1;
    const PromptAnswer answer = askHost(parent, request);
    return (answer.accepted && answer.index >= 0 && answer.index < items.size()) ? answer.index : -1;
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
    if (s_host) s_host->beep();
}

int32_t Prompt_BeepCount() {
    return s_beeps;
}
