// The message boxes, the command dialog and the wait cursor that plugins reach through the engine
// table. The window supplies them through its game-data host; the table's entries ask for them on
// each call. Without them a message box answers 0 and an options box -1 (as unanswered), a
// dialog call is refused with an error, and the wait cursor does nothing.
#pragma once

#include <cstdarg>
#include <cstdint>

typedef struct EngineFuncs EngineFuncs;

struct PluginDialogFuncs {
    int32_t (*messageBox)(const char* title, const char* text, int32_t flags);
    int32_t (*optionsBox)(const char* title, const char* text, const char* options, int32_t mask);
    void (*begin)(const char* title);
    void (*initExternalCommand)(const char* runText, const char* program);
    void (*initInternalCommand)(const char* runText, void (*command)(void));
    void (*setProgress)(int32_t value, int32_t maximum);
    void (*addTextEdit)(const char* name, const char* label, const char* text, int32_t flags);
    void (*addCheckBox)(const char* name, const char* label, bool checked, int32_t flags);
    void (*addRadioBox)(const char* name, const char* label, bool yes, int32_t flags);
    void (*addSpinBox)(const char* name, const char* label, int32_t value, int32_t minimum, int32_t maximum,
                       int32_t step, int32_t flags);
    void (*addSpinBoxFloat)(const char* name, const char* label, float value, float minimum, float maximum,
                            float step, int32_t flags);
    void (*addComboBox)(const char* name, const char* label, int32_t index, const char* items, int32_t flags);
    void (*addFileEdit)(const char* name, const char* label, const char* path, const char* filter,
                        int32_t flags);
    void (*addFileList)(const char* name, const char* label, const char* files, const char* filter,
                        int32_t flags);
    void (*addDirectoryEdit)(const char* name, const char* label, const char* path, int32_t flags);
    void (*queryArgument)(const char* name, char* buffer, int32_t size);
    int32_t (*queryArgumentInt)(const char* name);
    float (*queryArgumentFloat)(const char* name);
    void (*end)(void);
    void (*print)(const char* format, va_list args);
    void (*beginWaitCursor)(void);
    void (*endWaitCursor)(void);
};

// Fills the table's message-box, dialog and wait-cursor entries.
void Plugin_FillDialogEntries(EngineFuncs* table);
