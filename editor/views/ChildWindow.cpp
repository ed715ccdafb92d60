#include "views/ChildWindow.h"

#include "document/MapDocument.h"

bool cChildWindow::requestClose() {
    if (closedByDocument || !document) return true;
    if (!Project_OnChildWindowClose(document, this)) return false;
    document = nullptr;
    return true;
}
