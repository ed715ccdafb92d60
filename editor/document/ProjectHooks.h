// What the program's window adds to the document layer's questions. The layer stays headless: it
// calls these when set and does nothing more when not.
#pragma once

#include <QString>
#include <functional>

struct ProjectWindowHooks {
    // A save the close question asked for succeeded (the recent-files list takes the path).
    std::function<void(const QString& path)> savedAfterQuestion;
    // Yes to "set up the game configurations now?" (the preferences on their configuration page).
    std::function<void()> editConfigurations;
};

// Installs the hooks (empty ones remove them).
void Project_SetWindowHooks(ProjectWindowHooks hooks);
const ProjectWindowHooks& Project_WindowHooks();
