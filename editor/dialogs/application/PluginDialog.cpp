#include "dialogs/application/PluginDialog.h"

#include <QGuiApplication>

#include "core/NotAvailable.h"

namespace {

int32_t& waitCursorCount() {
    static int32_t count = 0;
    return count;
}

bool hasGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

int32_t App_MessageBox(const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("App_MessageBox");
    return 0;
}

int32_t App_OptionsBox(const char*, const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("App_OptionsBox");
    return -1;
}

void Dialog_Begin(const char*) {
    Sys_ReportNotAvailable("Dialog_Begin");
}

void Dialog_InitExternalCommand(const char*, const char*) {
    Sys_ReportNotAvailable("Dialog_InitExternalCommand");
}

void Dialog_InitInternalCommand(const char*, void (*)(void)) {
    Sys_ReportNotAvailable("Dialog_InitInternalCommand");
}

void Dialog_SetProgress(int32_t, int32_t) {
    Sys_ReportNotAvailable("Dialog_SetProgress");
}

void Dialog_AddTextEdit(const char*, const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddTextEdit");
}

void Dialog_AddCheckBox(const char*, const char*, bool, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddCheckBox");
}

void Dialog_AddRadioBox(const char*, const char*, bool, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddRadioBox");
}

void Dialog_AddSpinBox(const char*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddSpinBox");
}

void Dialog_AddSpinBoxFloat(const char*, const char*, float, float, float, float, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddSpinBoxFloat");
}

void Dialog_AddComboBox(const char*, const char*, int32_t, const char*, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddComboBox");
}

void Dialog_AddFileEdit(const char*, const char*, const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddFileEdit");
}

void Dialog_AddFileList(const char*, const char*, const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddFileList");
}

void Dialog_AddDirectoryEdit(const char*, const char*, const char*, int32_t) {
    Sys_ReportNotAvailable("Dialog_AddDirectoryEdit");
}

void Dialog_QueryArgument(const char*, char* buffer, int32_t size) {
    Sys_ReportNotAvailable("Dialog_QueryArgument");
    if (buffer && size > 0) buffer[0] = '\0';
}

int32_t Dialog_QueryArgumentInt(const char*) {
    Sys_ReportNotAvailable("Dialog_QueryArgumentInt");
    return 0;
}

float Dialog_QueryArgumentFloat(const char*) {
    Sys_ReportNotAvailable("Dialog_QueryArgumentFloat");
    return 0.0f;
}

void Dialog_End() {
    Sys_ReportNotAvailable("Dialog_End");
}

void Dialog_Printf(const char*, ...) {
    Sys_ReportNotAvailable("Dialog_Printf");
}

void App_BeginWaitCursor() {
    ++waitCursorCount();
    if (hasGui()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void App_EndWaitCursor() {
    if (waitCursorCount() <= 0) return;
    --waitCursorCount();
    if (hasGui()) QGuiApplication::restoreOverrideCursor();
}

int32_t App_WaitCursorCount() {
    return waitCursorCount();
}
