// The program's window on the sample map, with its settings and base folders in temporary
// folders, and helpers that type into a form's controls with real key events.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "document/MapDocument.h"
#include "views/ChildWindow.h"

class cSampleWindowFixture : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeConfig();
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(kSampleMap), nullptr);
        child = window->activeChildWindow();
        ASSERT_NE(child, nullptr);
        world = child->document->world;
        // Let the views settle (first paints place the camera) before a test looks at them.
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }

    // The game configuration the window starts with.
    virtual void writeConfig() { writeQuake3Config(); }

    // Replaces the whole text of a line edit or spin box, key by key.
    static void typeInto(QWidget* box, const QString& text) {
        if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(box)) spin->selectAll();
        for (QChar ch : text) {
            const int key = ch.toUpper().unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cChildWindow* child = nullptr;
    MapWorld* world = nullptr;
};
