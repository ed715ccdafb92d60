// The prompts of a program with widgets: message boxes, input dialogs and the file dialogs.
#pragma once

#include "core/Prompt.h"

class PromptHostImpl final : public PromptHost {
public:
    PromptAnswer ask(QWidget* parent, const PromptRequest& request) override;
    void beep() override;
};

// The one set of widget prompts of the program. It keeps nothing of a window, so it may stay
// installed for the whole run (the main window installs it, the test programs too).
PromptHost& Prompt_WidgetHost();
