// Dialogs that plugins build through the engine-function table: a form of named argument rows
// with Run and Close, and the message, options and wait-cursor services beside them. The forms
// themselves come with the application dialogs; until then every box answers as if cancelled and
// every query as if the argument were empty, and each entry says once that it is not available.
#pragma once

#include <cstdint>

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
// Leaves an empty text in the buffer.
void Dialog_QueryArgument(const char* name, char* buffer, int32_t size);
int32_t Dialog_QueryArgumentInt(const char* name);
float Dialog_QueryArgumentFloat(const char* name);
void Dialog_End();
void Dialog_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The wait cursor plugins push and pop; the count is the number of levels pushed and not popped.
void App_BeginWaitCursor();
void App_EndWaitCursor();
int32_t App_WaitCursorCount();
