// Functions whose subsystem is not built yet answer as harmlessly as they can and say so once.
#pragma once

// Logs "<name> is not available yet" the first time the name is reported in this run.
void Sys_ReportNotAvailable(const char* name);
