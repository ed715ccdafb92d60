// Edit > Paste Special.
#include "dialogs/application/PasteSpecialDialog.h"
#include "document/Clipboard.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/PasteSpecial.h"
#include "mainwindow/MainWindow.h"
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
