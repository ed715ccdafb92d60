// The views' host backed by the main window: its focus views, tools, held keys, status bar and
// commands.
#pragma once

#include <memory>

class ViewHost;
class cMainWindow;

std::unique_ptr<ViewHost> ViewHostImpl_Make(cMainWindow& window);
