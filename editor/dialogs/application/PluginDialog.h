// Dialogs that plugins build through the engine-function table: a form of named argument rows
// whose Run starts an external program with switches built from the values, or calls a function of
// the plugin; beside them the message, options and wait-cursor services.
#pragma once

#include <cstdarg>

#include <QDialog>
#include <memory>
#include <QPushButton>
#include <QStringList>
#include <cstdint>
#include <map>

#include "gamedata/PluginInterface.h"

class QFormLayout;
class QLineEdit;
class QListWidget;
class cPaintHold;

struct PluginDialogArgument {
    // 0 line edit, 1 check box, 2 yes/no, 3 integer, 4 decimal, 5 file list, 6 choice list.
    int kind = 0;
    int flags = 0;
    QString name;
    QWidget* widget = nullptr;
};

// The browse and list buttons of file, file-list and directory rows.
class cPluginDialogButton : public QPushButton {
    Q_OBJECT
public:
    cPluginDialogButton(const QString& text, QWidget* parent, QLineEdit* edit, QListWidget* list,
                        const QString& filter, int flags);

    QLineEdit* targetEdit;
    QListWidget* targetList;
    QString filter;
    int flags;
};

namespace Ui {
class cPluginDialog;
}

class cPluginDialog : public QDialog {
    Q_OBJECT
public:
    explicit cPluginDialog(QWidget* parent);

    ~cPluginDialog() override;

    std::unique_ptr<Ui::cPluginDialog> form;
    QString program;
    QString commandLine;
    // The same values one argument each, as the process gets them.
    QStringList commandArguments;
    QString lastBrowsedPath;
    void (*internalCommand)(void) = nullptr;
    // Ordered by name in UTF-16 code units, case-sensitive (QString's operator<).
    std::map<QString, PluginDialogArgument> arguments;
    QFormLayout* layout = nullptr;
    // Output lines in a burst are painted together.
    cPaintHold* outputHold = nullptr;

    void showProgressBar(bool show);
    void setProgress(int value, int maximum);
    void fitToRows();
    void addTextEdit(const QString& name, const QString& label, const QString& text, int flags);
    void addCheckBox(const QString& name, const QString& label, bool checked, int flags);
    void addRadioBox(const QString& name, const QString& label, bool yes, int flags);
    void addSpinBox(const QString& name, const QString& label, int value, int minimum, int maximum, int step,
                    int flags);
    void addSpinBoxFloat(const QString& name, const QString& label, double value, double minimum,
                         double maximum, double step, int flags);
    void addComboBox(const QString& name, const QString& label, int index, const char* items, int flags);
    void addFileEdit(const QString& name, const QString& label, const QString& path, const QString& filter,
                     int flags);
    void addFileList(const QString& name, const QString& label, const char* files, const QString& filter,
                     int flags);
    void addDirectoryEdit(const QString& name, const QString& label, const QString& path, int flags);
    static QString argumentText(const PluginDialogArgument& argument);
    QString argumentValue(const QString& name) const;
    void buildCommandLine();
    QString browseDirectory() const;
    // The progress bar's enabled state records whether its row is present.
    bool progressRowShown() const;

public slots:
    void exec_on_run();
    void exec_on_copy();
    void exec_on_close();
    void exec_on_checkRequiredArguments();
    void exec_on_browseForFile();
    void exec_on_browseForDirectory();
    void exec_on_removeItemFromList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addRow(const QString& label, QWidget* field, int kind, const QString& name, int flags,
                QWidget* valueWidget);
    QLineEdit* addPathRow(const QString& name, const QString& label, const QString& path,
                          const QString& filter, int flags, bool directory);
    void moveLowerWidgets(int dy, bool withProgressBar);
    // Adds the paths to the list unless present; re-checks when the button asks for it.
    void addToList(cPluginDialogButton* button, const QStringList& paths);
};

// The dialog being built or shown; null when none.
cPluginDialog* Dialog_Active();
// Destroys a dialog that a plugin command left open (it never called Dialog_End), with an error.
void Dialog_DiscardLeftOpen();

int32_t App_MessageBox(const char* title, const char* text, int32_t flags);
int32_t App_OptionsBox(const char* title, const char* text, const char* options, int32_t mask);
void Dialog_Begin(const char* title);
void Dialog_InitExternalCommand(const char* runText, const char* program);
void Dialog_InitInternalCommand(const char* runText, void (*command)(void));
void Dialog_SetProgress(int32_t value, int32_t maximum);
void Dialog_AddTextEdit(const char* name, const char* label, const char* text, int32_t flags);
void Dialog_AddCheckBox(const char* name, const char* label, bool checked, int32_t flags);
void Dialog_AddRadioBox(const char* name, const char* label, bool yes, int32_t flags);
void Dialog_AddSpinBox(const char* name, const char* label, int32_t value, int32_t minimum, int32_t maximum,
                       int32_t step, int32_t flags);
void Dialog_AddSpinBoxFloat(const char* name, const char* label, float value, float minimum, float maximum,
                            float step, int32_t flags);
void Dialog_AddComboBox(const char* name, const char* label, int32_t index, const char* items, int32_t flags);
void Dialog_AddFileEdit(const char* name, const char* label, const char* path, const char* filter,
                        int32_t flags);
void Dialog_AddFileList(const char* name, const char* label, const char* files, const char* filter,
                        int32_t flags);
void Dialog_AddDirectoryEdit(const char* name, const char* label, const char* path, int32_t flags);
// Zero-fills size bytes and copies at most size - 1 of the value; nothing at all below size 1.
void Dialog_QueryArgument(const char* name, char* buffer, int32_t size);
int32_t Dialog_QueryArgumentInt(const char* name);
float Dialog_QueryArgumentFloat(const char* name);
void Dialog_End();
void Dialog_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Dialog_VPrintf(const char* format, va_list args);

// The wait cursor plugins push and pop; the count is the number of levels pushed and not popped.
void App_BeginWaitCursor();
void App_EndWaitCursor();
int32_t App_WaitCursorCount();
