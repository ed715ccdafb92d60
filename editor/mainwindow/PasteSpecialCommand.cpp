// Edit > Paste Special.
#include <cmath>

#include "core/Prompt.h"
#include "dialogs/application/PasteSpecialDialog.h"
#include "document/Clipboard.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/PasteSpecial.h"
#include "mainwindow/MainWindow.h"
#include "document/SelectionBox.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

void cMainWindow::cmdEditPasteSpecial() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !child->document->world || !Clip_HasContent(&clipboard)) return;
    MapDocument* document = child->document;

    float point[3] = {0, 0, 0};
    if (focusView)
        focusView->screenToWorld(focusView->mouseX, focusView->mouseY,
                                 ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, point);

    cPasteSpecialDialog dialog(this, clipboard.mins, clipboard.maxs);
    dialog.setOptions(PasteSpecial_FromSettings(settings));
    if (dialog.exec() != QDialog::Accepted) return;
    const PasteSpecialOptions options = dialog.options();

    // Copies stepped further than the world is wide leave it; a count the map has no room for is
    // the paste's own refusal.
    const bool room =
        int64_t(options.copies) * Clip_IdsPerCopy(&clipboard) <= Map_FreeIdCount(document->world);
    const double across = 2.0 * double(Select_HalfWorldSize());
    for (int k = 0; room && (options.flags & PASTE_OFFSET) && k < 3; ++k)
        if (std::fabs(double(options.offset[k])) * options.copies > across) {
            Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                           tr("%1 copies %2 apart leave the world (%3 units across).")
                               .arg(options.copies)
                               .arg(std::fabs(options.offset[k]))
                               .arg(across));
            PasteSpecial_ToSettings(options, &settings);
            return;
        }

    if (Map_PasteSpecial(&clipboard, Map_Handle(document->world), options, point)) {
        document->modified = true;
        Project_UpdateTitles(document);
        updateActions(0x2);
        notifySelectionChanged();
        updateAllViews(3);
    }
    // Remembered as shown, also when the paste was refused, so a too-large count can be lowered.
    PasteSpecial_ToSettings(options, &settings);
}
