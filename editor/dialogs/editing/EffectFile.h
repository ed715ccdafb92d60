// Backup copies of effect script files before the editor rewrites them.
#pragma once

class QFileInfo;

// Copies the file beside itself with the suffix's last character turned into "x" (one more "x" or
// "X" when it is one already; ".x" added without a suffix), replacing an older copy. Reports on
// the console; false when the copy failed.
bool EffectFile_Backup(const QFileInfo& file);
