// Drives the views of a real map window with real Qt input events, as a user would: mouse moves
// carry their buttons and modifiers, presses and releases their button, keys go through the
// application (so the main window's held-key filter sees them). Window points come from world
// points through the view's own mapping. ToolFixture opens a document in a four-view map window
// with the main window's tool set made fresh, and records the context menus and commands the
// tools ask for.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWheelEvent>
#include <cmath>

#include "DocumentFixture.h"
#include "gamedata/TextureLists.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "tools/ToolSet.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"

class cToolDriver {
public:
    explicit cToolDriver(cCanvas* view = nullptr) : m_view(view) {}
    void setView(cCanvas* view) { m_view = view; }
    cCanvas* view() const { return m_view; }

    // The window pixel of a world point given on the view's two axes (i, j).
    QPoint at(float i, float j) const {
        float p[3] = {0, 0, 0}, out[3];
        p[m_view->hAxis] = i;
        p[m_view->vAxis] = j;
        m_view->worldToScreen(p, out);
        return {int(std::lround(out[0])), int(std::lround(out[1]))};
    }

    void move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(m_view->mapToGlobal(p)), Qt::NoButton, buttons,
                      mods);
        QApplication::sendEvent(m_view, &e);
        m_buttons = buttons;
    }
    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        m_buttons |= button;
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), QPointF(m_view->mapToGlobal(p)), button,
                      m_buttons, mods);
        QApplication::sendEvent(m_view, &e);
        lastAccepted = e.isAccepted();
    }
    void release(QPoint p, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers mods = Qt::NoModifier) {
        m_buttons &= ~Qt::MouseButtons(button);
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(p), QPointF(m_view->mapToGlobal(p)), button,
                      m_buttons, mods);
        QApplication::sendEvent(m_view, &e);
        lastAccepted = e.isAccepted();
    }
    void doubleClick(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(p), QPointF(m_view->mapToGlobal(p)), button,
                      button, Qt::NoModifier);
        QApplication::sendEvent(m_view, &e);
    }
    // Hover onto the start, press, move in steps to the end, release; modifiers on every event.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier,
              Qt::KeyboardModifiers releaseMods = Qt::KeyboardModifiers(-1), int steps = 4) {
        move(from, Qt::NoButton, mods);
        press(from, Qt::LeftButton, mods);
        for (int n = 1; n <= steps; ++n)
            move(from + (to - from) * n / steps, Qt::LeftButton, mods);
        release(to, Qt::LeftButton, releaseMods == Qt::KeyboardModifiers(-1) ? mods : releaseMods);
    }
    // A click: hover, press, release.
    void click(QPoint p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        move(p, Qt::NoButton, mods);
        press(p, button, mods);
        release(p, button, mods);
    }
    // A key press (and release unless held). Returns whether the view accepted the press.
    bool key(int code, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false,
             bool releaseToo = true) {
        QKeyEvent e(QEvent::KeyPress, code, mods, QString(), autoRepeat);
        QApplication::sendEvent(m_view, &e);
        const bool accepted = e.isAccepted();
        if (releaseToo) keyUp(code, mods);
        return accepted;
    }
    void keyUp(int code, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyRelease, code, mods, QString(), false);
        QApplication::sendEvent(m_view, &e);
    }
    void wheel(QPoint p, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier, bool horizontal = false) {
        const QPoint angle = horizontal ? QPoint(delta, 0) : QPoint(0, delta);
        QWheelEvent e(QPointF(p), QPointF(m_view->mapToGlobal(p)), QPoint(), angle, Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view, &e);
    }

    bool lastAccepted = false;

private:
    cCanvas* m_view;
    Qt::MouseButtons m_buttons;
};

// Makes a name the main window's current texture, as the Textures dock does, listed with a record
// when one is given; the former current texture, lists and configuration come back at the end.
class cCurrentTextureScope {
public:
    cCurrentTextureScope()
        : m_name(g_mainWindow->currentTextureName), m_config(g_mainWindow->gameConfigs.current),
          m_lists(g_mainWindow->gameConfigs.currentTextureLists) {}
    ~cCurrentTextureScope() {
        g_mainWindow->currentTextureName = m_name;
        g_mainWindow->gameConfigs.current = m_config;
        g_mainWindow->gameConfigs.currentTextureLists = m_lists;
    }
    void set(const char* name, ShaderRecord* record = nullptr) {
        GameConfigManager& configs = g_mainWindow->gameConfigs;
        g_mainWindow->currentTextureName = QString::fromUtf8(name);
        m_own.entries.clear();
        if (record)
            m_own.entries.insert(QString::fromUtf8(name).toUpper(), TextureListEntry{{}, nullptr, record});
        if (!configs.current) configs.current = &m_ownConfig;
        configs.currentTextureLists = &m_own;
    }

private:
    QString m_name;
    GameConfig* m_config;
    TextureLists* m_lists;
    TextureLists m_own;
    GameConfig m_ownConfig;
};

class ToolFixture : public DocumentFixture {
public:
    void SetUp() override {
        DocumentFixture::SetUp();
        cMainWindow* mw = g_mainWindow;
        // The held-key filter of the main window, as the program runs it.
        qApp->installEventFilter(mw);
        mw->toolSet = std::make_unique<ToolSet>();
        mw->activeTool = mw->secondaryTool = nullptr;
        mw->heldKeys = 0;
        MainSettings& s = settings();
        s.EnergySavingMode = true;
        s.CurrentGridSize = 16;
        s.SnapToGrid = true;
        s.IndependentWindows = s.AutoActivateWindows = true;
        s.ArrowKeyNudge = true;
        s.SelectAuto = false;
        s.CanvasConfig = 0;
        Color_ResetTables();
        View_SetContextMenuHook([this](const QString& name, QPoint) { menus.append(name); });
        Tool_SetCommandHook([this](const QString& command) { commands.append(command); });
        Tool_SetStatusText(4, QString());
        mw->documents.append(&doc);
        window = new cChildWindow(&doc);
        window->buildLayout(-1);
        window->resize(808, 608);
        window->show();
        window->activateWindow();
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        // Keys count as held only when they reach the focus widget, and focus moves only inside the
        // active window: wait (bounded) until the window's activation has arrived.
        QElapsedTimer activation;
        activation.start();
        while (!window->isActiveWindow() && activation.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        for (cCanvas* v : window->views) {
            v->grabFramebuffer();
            if (!v->is3D()) {
                v->zoom = 1.0f;
                v->scrollX = v->scrollY = 0;
                v->needsFullRedraw = true;
            }
        }
        top = viewOfType(ViewType::Top);
        driver.setView(top);
    }
    void TearDown() override {
        cMainWindow* mw = g_mainWindow;
        window->closedByDocument = true;
        delete window;
        window = nullptr;
        View_SetContextMenuHook(nullptr);
        Tool_SetCommandHook(nullptr);
        qApp->removeEventFilter(mw);
        mw->activeTool = mw->secondaryTool = nullptr;
        mw->focusView = mw->previousFocusView = mw->lastInputCanvas = nullptr;
        mw->heldKeys = 0;
        mw->documents.clear();
        Color_ResetTables();
        DocumentFixture::TearDown();
    }
    cCanvas* viewOfType(int type) const {
        for (cCanvas* v : window->views)
            if (v->viewType == type) return v;
        return nullptr;
    }
    template <class T> T* tool(int id) const { return g_mainWindow->toolSet->get<T>(id); }
    QString status4() const { return Tool_StatusText(4); }

    cChildWindow* window = nullptr;
    cCanvas* top = nullptr;
    cToolDriver driver;
    QStringList menus;
    QStringList commands;
};
