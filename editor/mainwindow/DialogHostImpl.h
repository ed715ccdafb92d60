// The dialogs' host backed by the main window: the window itself, its documents and current
// texture, its refreshes, commands and panels.
#pragma once

#include <memory>

class DialogHost;
class cMainWindow;

std::unique_ptr<DialogHost> DialogHostImpl_Make(cMainWindow& window);
