// The program's window on the sample map with the path tool as primary tool and the top view
// active, and helpers that lay out paths, select nodes and compare world dumps.
#pragma once

#include <QTest>
#include <cstring>
#include <string>

#include "SampleWindowFixture.h"
#include "DialogAnswer.h"
#include "WidgetInput.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapPath.h"
#include "map/ObjectRecords.h"
#include "views/Canvas.h"

class cPathFixture : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        window->toolPath();
        for (cCanvas* view : child->views)
            if (view->viewType == ViewType::Top) window->setActiveCanvas(view);
        ASSERT_NE(window->focusView, nullptr);
    }
    // The sample entity definitions, for the path classes and the target keys.
    void writeConfig() override {
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\nGameData0=%1\n")
                      .arg(QDir::cleanPath(
                          QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/quake3/q3entities.fgd")))
                      .toUtf8());
    }
    void TearDown() override {
        for (MapDocument* d : window->documents)
            d->modified = false;
        cSampleWindowFixture::TearDown();
    }

    // A path of path_corner nodes 64 units apart along x from (x0, y).
    PathRecord* path(const char* name, int nodes, int32_t type = PathType::OneWay, float x0 = 0,
                     float y = 0) {
        PathRecord* p = Path_Create(Map_Handle(world));
        p->name = Sys_StrDup(name);
        p->className = Sys_StrDup("path_corner");
        p->type = type;
        for (int i = 0; i < nodes; ++i) {
            NodeRecord* n = Node_Append(Map_Handle(world), p);
            n->origin[0] = x0 + float(64 * i);
            n->origin[1] = y;
        }
        p->handle->update();
        return p;
    }
    PathRecord* findPath(const char* name) const {
        for (PathRecord* p = world->paths; p; p = p->next)
            if (p->name && std::strcmp(p->name, name) == 0) return p;
        return nullptr;
    }
    // Replaces a line edit's text with key events (any script, unlike QTest::keyClicks).
    static void type(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeInto(box, text);
    }
    static NodeRecord* nodeAt(PathRecord* p, int index) {
        NodeRecord* n = p->firstNode;
        for (int i = 0; n && i < index; ++i)
            n = n->next;
        return n;
    }
    void select(std::initializer_list<NodeRecord*> nodes) {
        Map_DeselectNodes(world);
        for (NodeRecord* n : nodes)
            Map_SelectObject(world, n);
        window->notifySelectionChanged();
    }
    // Undo brings back the selection its level recorded, so the selected bits stay out.
    std::string dump() const { return Map_DumpWorld(world, WorldDumpFlag::NoSelection).toStdString(); }
    // The first line where the world's dump differs from the other; empty when equal.
    std::string differenceFrom(const std::string& other) const {
        const QList<QByteArray> a = QByteArray::fromStdString(dump()).split('\n');
        const QList<QByteArray> b = QByteArray::fromStdString(other).split('\n');
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
            if (a.value(i) != b.value(i)) return (a.value(i) + " | " + b.value(i)).toStdString();
        return std::string();
    }
    std::string newestLevel() const {
        const UndoLevel* level = Undo_NewestLevel(child->document->undo);
        return level ? level->name : "";
    }
    void undo() { window->cmdEditUndo(); }
};
