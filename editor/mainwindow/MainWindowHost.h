// The system layer's host backed by the main window: its console, settings, plugin options,
// archives and remembered file answers.
#pragma once

#include <memory>

class SysHost;
class cMainWindow;

std::unique_ptr<SysHost> MainWindowHost_Make(cMainWindow& window);
