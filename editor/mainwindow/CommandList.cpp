// Help > Command List: every command with its keys, and the keys no command carries.
#include <QCoreApplication>

#include "dialogs/application/MessageDialog.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"

namespace {

struct HelpKeyEntry {
    const char* description;
    const char* key;
};

// Keys handled by the views and tools themselves, which no action carries.
const HelpKeyEntry kHelpKeys[] = {
    {QT_TRANSLATE_NOOP("cMainWindow", "Split face (Vertex Manipulation)"), "Ctrl+F"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Scale vertices (Vertex Manipulation)"), "Alt+E"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Triangulate faces (Vertex Manipulation)"), "Ctrl+Alt+T"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Weld vertices (Vertex Manipulation)"), "Ctrl+Alt+W"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Increment 2D layout / 3D rendermode"), "Tab"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Decrement 2D layout / 3D rendermode"), "Shift+Tab"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Toggle texture filtering"), "F"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Toggle clipping sizes (Clipping Tool)"), "O"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Toggle 3D auto-selection by mouse dragging"), "X"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Toggle depth test for selection overlay"), "Q"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Toggle free-look mode"), "Z"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Maximize current view"), "Shift+Z"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Lift + Select\" (Texture Tool)"), "Shift+F1"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Lift\" (Texture Tool)"), "Shift+F2"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Select\" (Texture Tool)"), "Shift+F3"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Apply (texture only)\" (Texture Tool)"), "Shift+F4"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Apply (texture + values)\" (Texture Tool)"), "Shift+F5"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Apply (texture + axes + values)\" (Texture Tool)"),
     "Shift+F6"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"NULL to Selected\" (Texture Tool)"), "Shift+F7"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"NULL to Unselected\" (Texture Tool)"), "Shift+F8"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Set mode \"Align to View\" (Texture Tool)"), "Shift+F9"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Interrupt compile process (Compile Process Window)"), "Break"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Previous camera (Camera Tool)"), "PgUp"},
    {QT_TRANSLATE_NOOP("cMainWindow", "Next camera (Camera Tool)"), "PgDown"},
};

bool inCommandList(const QAction* action) {
    const auto* custom = qobject_cast<const QCustomAction*>(action);
    return !(custom && custom->hiddenFromCommandList) && !action->shortcuts().isEmpty();
}

QString line(const QKeySequence& key, const QString& description) {
    return QStringLiteral("%1: %2").arg(key.toString(QKeySequence::PortableText), description);
}

} // namespace

QStringList cMainWindow::commandListLines() const {
    QStringList lines;
    for (const QAction* action : actionList) {
        if (!inCommandList(action)) continue;
        // Tool tips with "[" carry the shortcut; the status tip describes the command then.
        const QString tip = action->toolTip();
        QString description = tip.isEmpty() || tip.contains(QLatin1Char('[')) ? action->statusTip() : tip;
        if (description.isEmpty()) description = tip;
        for (const QKeySequence& key : action->shortcuts())
            lines.append(line(key, description));
    }
    for (const QAction* action : toolActions)
        if (inCommandList(action)) lines.append(line(action->shortcut(), action->statusTip()));
    for (const HelpKeyEntry& entry : kHelpKeys)
        lines.append(QStringLiteral("%1: %2").arg(
            QLatin1String(entry.key), QCoreApplication::translate("cMainWindow", entry.description)));
    lines.sort(Qt::CaseSensitive);
    return lines;
}

void cMainWindow::cmdHelpCmdList() {
    cMessageDialog dialog(tr("Command List"), commandListLines().join(QLatin1String("<br>")), this);
    dialog.exec();
}
