// The folder the program's own files are found in.
#pragma once

#include <QString>

// The program's folder, or its "/../sdk" when it runs from "system" or "system64" (any case).
QString App_GetBaseDirectory();
QString App_BaseDirectoryFor(const QString& programFolder);
// Replaces the base directory (tests and tools); an empty path restores the program's folder.
void App_SetBaseDirectory(const QString& dir);
