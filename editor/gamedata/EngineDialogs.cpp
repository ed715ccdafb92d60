// The engine table's message-box, dialog and wait-cursor entries: each hands the call to the
// functions the installed host supplies, or answers as a program without windows.
#include "core/System.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginDialogs.h"
#include "gamedata/PluginInterface.h"

namespace {

const PluginDialogFuncs* dialogs() {
    GameDataHost* host = GameData_Host();
    return host ? host->pluginDialogs() : nullptr;
}

// The dialog functions, or null after an error naming the entry.
const PluginDialogFuncs* dialogsFor(const char* entry) {
    const PluginDialogFuncs* functions = dialogs();
    if (!functions) Sys_Error("%s called without a window to show dialogs in", entry);
    return functions;
}

int32_t messageBox(const char* title, const char* text, int32_t flags) {
    const PluginDialogFuncs* d = dialogs();
    return d ? d->messageBox(title, text, flags) : 0;
}

int32_t optionsBox(const char* title, const char* text, const char* options, int32_t mask) {
    const PluginDialogFuncs* d = dialogs();
    return d ? d->optionsBox(title, text, options, mask) : -1;
}

void begin(const char* title) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_Begin")) d->begin(title);
}

void initExternalCommand(const char* runText, const char* program) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_InitExternalCommand"))
        d->initExternalCommand(runText, program);
}

void initInternalCommand(const char* runText, void (*command)(void)) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_InitInternalCommand"))
        d->initInternalCommand(runText, command);
}

void setProgress(int32_t value, int32_t maximum) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_SetProgress")) d->setProgress(value, maximum);
}

void addTextEdit(const char* name, const char* label, const char* text, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddTextEdit"))
        d->addTextEdit(name, label, text, flags);
}

void addCheckBox(const char* name, const char* label, bool checked, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddCheckBox"))
        d->addCheckBox(name, label, checked, flags);
}

void addRadioBox(const char* name, const char* label, bool yes, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddRadioBox"))
        d->addRadioBox(name, label, yes, flags);
}

void addSpinBox(const char* name, const char* label, int32_t value, int32_t minimum, int32_t maximum,
                int32_t step, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddSpinBox"))
        d->addSpinBox(name, label, value, minimum, maximum, step, flags);
}

void addSpinBoxFloat(const char* name, const char* label, float value, float minimum, float maximum,
                     float step, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddSpinBoxFloat"))
        d->addSpinBoxFloat(name, label, value, minimum, maximum, step, flags);
}

void addComboBox(const char* name, const char* label, int32_t index, const char* items, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddComboBox"))
        d->addComboBox(name, label, index, items, flags);
}

void addFileEdit(const char* name, const char* label, const char* path, const char* filter, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddFileEdit"))
        d->addFileEdit(name, label, path, filter, flags);
}

void addFileList(const char* name, const char* label, const char* files, const char* filter, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddFileList"))
        d->addFileList(name, label, files, filter, flags);
}

void addDirectoryEdit(const char* name, const char* label, const char* path, int32_t flags) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_AddDirectoryEdit"))
        d->addDirectoryEdit(name, label, path, flags);
}

void queryArgument(const char* name, char* buffer, int32_t size) {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_QueryArgument")) d->queryArgument(name, buffer, size);
}

int32_t queryArgumentInt(const char* name) {
    const PluginDialogFuncs* d = dialogsFor("Dialog_QueryArgumentInt");
    return d ? d->queryArgumentInt(name) : 0;
}

float queryArgumentFloat(const char* name) {
    const PluginDialogFuncs* d = dialogsFor("Dialog_QueryArgumentFloat");
    return d ? d->queryArgumentFloat(name) : 0.0f;
}

void end() {
    if (const PluginDialogFuncs* d = dialogsFor("Dialog_End")) d->end();
}

// Lines for a dialog that cannot be shown go nowhere, as lines with no dialog open do.
void print(const char* format, ...) {
    const PluginDialogFuncs* d = dialogs();
    if (!d) return;
    va_list args;
    va_start(args, format);
    d->print(format, args);
    va_end(args);
}

void beginWaitCursor() {
    if (const PluginDialogFuncs* d = dialogs()) d->beginWaitCursor();
}

void endWaitCursor() {
    if (const PluginDialogFuncs* d = dialogs()) d->endWaitCursor();
}

} // namespace

void Plugin_FillDialogEntries(EngineFuncs* table) {
    if (!table) return;
    table->App_MessageBox = messageBox;
    table->App_OptionsBox = optionsBox;
    table->Dialog_Begin = begin;
    table->Dialog_InitExternalCommand = initExternalCommand;
    table->Dialog_InitInternalCommand = initInternalCommand;
    table->Dialog_SetProgress = setProgress;
    table->Dialog_AddTextEdit = addTextEdit;
    table->Dialog_AddCheckBox = addCheckBox;
    table->Dialog_AddRadioBox = addRadioBox;
    table->Dialog_AddSpinBox = addSpinBox;
    table->Dialog_AddSpinBoxFloat = addSpinBoxFloat;
    table->Dialog_AddComboBox = addComboBox;
    table->Dialog_AddFileEdit = addFileEdit;
    table->Dialog_AddFileList = addFileList;
    table->Dialog_AddDirectoryEdit = addDirectoryEdit;
    table->Dialog_QueryArgument = queryArgument;
    table->Dialog_QueryArgumentInt = queryArgumentInt;
    table->Dialog_QueryArgumentFloat = queryArgumentFloat;
    table->Dialog_End = end;
    table->Dialog_Printf = print;
    table->App_BeginWaitCursor = beginWaitCursor;
    table->App_EndWaitCursor = endWaitCursor;
}
