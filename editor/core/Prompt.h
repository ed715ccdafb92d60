// Questions to the user: modal message boxes titled "Z.A.R.V.", text, whole-number and file-name
// requests, and a choice from a list. Tests install a cPromptScript that answers instead of the user and
// records what was asked, so no dialog ever opens under a test. The boxes themselves are the
// installed PromptHost's (the main window's widgets); without one nobody answers and every request
// ends as a closed box would.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;

// Buttons of a question box (a mask when offered, one bit when answered).
namespace PromptButton {
constexpr int32_t None = 0;
constexpr int32_t Ok = 0x1;
constexpr int32_t Yes = 0x2;
constexpr int32_t No = 0x4;
constexpr int32_t Cancel = 0x8;
constexpr int32_t Abort = 0x10;
constexpr int32_t Retry = 0x20;
constexpr int32_t Ignore = 0x40;
constexpr int32_t Save = 0x80;
constexpr int32_t Discard = 0x100;
} // namespace PromptButton

enum class PromptIcon : int32_t { Information, Question, Warning, Critical };
enum class PromptKind : int32_t {
    Question,
    Message,
    Text,
    SaveFileName,
    Choice,
    Integer,
    OpenFileName,
    OpenFileNames,
    Directory
};

// One request as the user would have seen it.
struct PromptRequest {
    PromptKind kind = PromptKind::Message;
    PromptIcon icon = PromptIcon::Information;
    QString title;
    QString text;        // the message, label or caption
    int32_t buttons = 0; // PromptButton mask (questions)
    // Questions: the button Return presses (None: the box's choice), the smaller text below the
    // message, the text behind "Show Details..." and the box's own window icon (null: the
    // application's).
    int32_t defaultButton = PromptButton::None;
    QString informative;
    QString detailed;
    QIcon windowIcon;
    QString directory;      // file-name requests
    QString filter;         // file-name requests
    QString selectedFilter; // file-name requests: the filter offered preselected
    QStringList items;      // choices
    QString initial;        // text requests: the preset text
    int32_t value = 0;      // whole numbers: the initial value (within the range), range and step
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t step = 0;
};

// Answers requests in order from a queue instead of the user while it exists (the newest script
// wins). An empty queue answers Cancel (or No when Cancel is not offered), an empty text, an
// empty file name, no choice and a cancelled number. Several file names are one text answer with
// the names on separate lines. A file request that asks for its selected filter gets the next
// filter answer, else the preselected one when offered, else the first, as the dialog would.
// Numbers are clamped into the asked range, as the spin box would clamp them.
class cPromptScript {
public:
    cPromptScript();
    ~cPromptScript();
    cPromptScript(const cPromptScript&) = delete;
    cPromptScript& operator=(const cPromptScript&) = delete;

    void answerButton(int32_t button) { buttons.append(button); }
    void answerText(const QString& text) { texts.append(text); }
    void answerChoice(int32_t index) { choices.append(index); }
    void answerInteger(int32_t value) { integers.append(value); }
    // The filter the user picks in the next file request that reports one.
    void answerFilter(const QString& filter) { filters.append(filter); }

    QList<PromptRequest> asked;
    // Runs as each request is recorded, before it is answered (a test may change the world the
    // answer meets).
    std::function<void(const PromptRequest&)> onAsk;

private:
    friend struct PromptScriptAccess;
    QList<int32_t> buttons;
    QStringList texts; // text and file-name answers
    QList<int32_t> choices;
    QList<int32_t> integers;
    QStringList filters;
    cPromptScript* previous = nullptr;
};

// What the person answered to one request.
struct PromptAnswer {
    bool accepted = false;               // false: the box was closed or cancelled
    int32_t button = PromptButton::None; // questions
    QStringList texts;                   // texts, file names, the directory
    QString selectedFilter;              // file requests: the filter chosen
    int32_t value = 0;                   // whole numbers
    int32_t index = -1;                  // choices
};

// Shows requests to a person: the running program's boxes and file dialogs.
class PromptHost {
public:
    virtual ~PromptHost() = default;
    // Asks modally over parent (may be null) and waits for the answer.
    virtual PromptAnswer ask(QWidget* parent, const PromptRequest& request) = 0;
    virtual void beep() = 0;
};

// The installed host, or null. Installing returns the host installed before, to be put back.
PromptHost* Prompt_Host();
PromptHost* Prompt_SetHost(PromptHost* host);

// A message box with the buttons; the answered button (Cancel or No when closed).
int32_t Prompt_Question(QWidget* parent, PromptIcon icon, const QString& text, int32_t buttons);
// The further parts of a question box.
struct PromptDetails {
    QString informative;
    QString detailed;
    int32_t defaultButton = PromptButton::None;
    QIcon windowIcon;
};
// The same box with an informative text, a detailed text, a default button and a window icon.
int32_t Prompt_Question(QWidget* parent, PromptIcon icon, const QString& text, int32_t buttons,
                        const PromptDetails& details);
// A message box with Ok.
void Prompt_Message(QWidget* parent, PromptIcon icon, const QString& text);
// A line of text; empty when cancelled.
QString Prompt_GetText(QWidget* parent, const QString& label, const QString& initial);
// The same in a box of that title.
QString Prompt_GetText(QWidget* parent, const QString& title, const QString& label, const QString& initial);
// The platform save dialog; empty when cancelled. selectedFilter (may be
// null) preselects that filter and receives the one chosen.
QString Prompt_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter, QString* selectedFilter = nullptr);
// The platform open dialogs; empty when cancelled.
QString Prompt_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter);
QStringList Prompt_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter, QString* selectedFilter = nullptr);
QString Prompt_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory);
// A whole number in min..max (the bounds swapped when min > max) from a spin box with the step,
// starting at initial (clamped into the range). *ok (may be null) tells whether it was
// confirmed; a cancelled request returns the clamped initial value.
int32_t Prompt_GetInteger(QWidget* parent, const QString& title, const QString& label, int32_t initial,
                          int32_t min, int32_t max, int32_t step, bool* ok);
// One of the items; -1 when cancelled.
int32_t Prompt_Choose(QWidget* parent, const QString& label, const QStringList& items);
// The game-configuration chooser a main window offers (index of the title, -1 when abandoned).
// Without one, or while a prompt script answers, the choice is a Prompt_Choose.
using GameConfigChooser = int32_t (*)(const QStringList& titles);
void Prompt_SetGameConfigChooser(GameConfigChooser chooser);
int32_t Prompt_ChooseGameConfig(const QStringList& titles);

// The error beep (the host's; silent without one); tests count the beeps.
void Prompt_Beep();
int32_t Prompt_BeepCount();
