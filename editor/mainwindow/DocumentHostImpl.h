// The documents' host backed by the main window: its tools, focus view, clipboard, status labels,
// map windows and the dialogs of the primitives.
#pragma once

#include <memory>

class DocumentHost;
class cMainWindow;

std::unique_ptr<DocumentHost> DocumentHostImpl_Make(cMainWindow& window);
