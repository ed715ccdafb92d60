#include "mainwindow/PromptHostImpl.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "mainwindow/SysDialogs.h"

namespace {

const struct {
    int32_t ours;
    QMessageBox::StandardButton qt;
} kButtons[] = {{PromptButton::Ok, QMessageBox::Ok},          {PromptButton::Yes, QMessageBox::Yes},
                {PromptButton::No, QMessageBox::No},          {PromptButton::Cancel, QMessageBox::Cancel},
                {PromptButton::Abort, QMessageBox::Abort},    {PromptButton::Retry, QMessageBox::Retry},
                {PromptButton::Ignore, QMessageBox::Ignore},  {PromptButton::Save, QMessageBox::Save},
                {PromptButton::Discard, QMessageBox::Discard}};

PromptAnswer question(QWidget* parent, const PromptRequest& request) {
    QMessageBox::StandardButtons offered;
    for (const auto& b : kButtons)
        if (request.buttons & b.ours) offered |= b.qt;
    static const QMessageBox::Icon kIcons[] = {QMessageBox::Information, QMessageBox::Question,
                                               QMessageBox::Warning, QMessageBox::Critical};
    QMessageBox box(kIcons[int(request.icon)], request.title, request.text, offered, parent);
    box.setInformativeText(request.informative);
    box.setDetailedText(request.detailed);
    for (const auto& b : kButtons)
        if (request.defaultButton == b.ours && (offered & b.qt)) box.setDefaultButton(b.qt);
    if (!request.windowIcon.isNull()) box.setWindowIcon(request.windowIcon);
    const int pressed = box.exec();
    PromptAnswer answer;
    for (const auto& b : kButtons)
        if (pressed == b.qt) {
            answer.accepted = true;
            answer.button = b.ours;
        }
    return answer;
}

} // namespace

PromptAnswer PromptHostImpl::ask(QWidget* parent, const PromptRequest& request) {
    PromptAnswer answer;
    switch (request.kind) {
    case PromptKind::Question:
    case PromptKind::Message:
        return question(parent, request);
    case PromptKind::Text:
        answer.texts = {QInputDialog::getText(parent, request.title, request.text, QLineEdit::Normal,
                                              request.initial, &answer.accepted)};
        break;
    case PromptKind::Integer:
        answer.value = QInputDialog::getInt(parent, request.title, request.text, request.value,
                                            request.minimum, request.maximum, request.step, &answer.accepted);
        break;
    case PromptKind::Choice: {
        const QString item = QInputDialog::getItem(parent, request.title, request.text, request.items, 0,
                                                   false, &answer.accepted);
        answer.index = int32_t(request.items.indexOf(item));
        break;
    }
    case PromptKind::SaveFileName:
    case PromptKind::OpenFileName:
    case PromptKind::OpenFileNames:
    case PromptKind::Directory: {
        answer.selectedFilter = request.selectedFilter;
        if (request.kind == PromptKind::SaveFileName)
            answer.texts = {Sys_GetSaveFileName(parent, request.text, request.directory, request.filter,
                                                &answer.selectedFilter)};
        else if (request.kind == PromptKind::OpenFileName)
            answer.texts = {Sys_GetOpenFileName(parent, request.text, request.directory, request.filter)};
        else if (request.kind == PromptKind::OpenFileNames)
            answer.texts = Sys_GetOpenFileNames(parent, request.text, request.directory, request.filter,
                                                &answer.selectedFilter);
        else
            answer.texts = {Sys_GetExistingDirectory(parent, request.text, request.directory)};
        answer.texts.removeAll(QString());
        answer.accepted = !answer.texts.isEmpty();
        break;
    }
    }
    return answer;
}

void PromptHostImpl::beep() {
    QApplication::beep();
}

PromptHost& Prompt_WidgetHost() {
    static PromptHostImpl host;
    return host;
}
