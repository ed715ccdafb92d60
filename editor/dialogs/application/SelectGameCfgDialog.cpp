#include "dialogs/application/SelectGameCfgDialog.h"

#include "core/Prompt.h"

int cSelectGameCfgDialog::exec() {
    const int32_t index = Prompt_Choose(parent, QStringLiteral("Select game configuration:"), titles);
    if (index < 0) return 0;
    chosen = titles.at(index);
    return 1;
}
