// The tools' host backed by the main window: its status labels, cursors, documents, current
// texture and primitive, commands and dialogs.
#pragma once

#include <memory>

class ToolHost;
class cMainWindow;

std::unique_ptr<ToolHost> ToolHostImpl_Make(cMainWindow& window);
