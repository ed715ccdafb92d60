// Binds console captures to the main window's console (making a window when there is none); the
// main of the programs that link the window installs it.
#pragma once

#include "ConsoleCapture.h"

std::unique_ptr<cConsoleCapture::Binding> Console_BindToWindow(cConsoleCapture& capture);
