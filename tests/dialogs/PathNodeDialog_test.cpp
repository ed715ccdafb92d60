#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "PathFixture.h"
#include "dialogs/application/CustomAngleBox.h"
#include "dialogs/application/PathDialog.h"
#include "dialogs/application/PathNodeDialog.h"
#include "map/EPair.h"

namespace {

using Nodes = std::vector<NodeRecord*>;

class PathNodeDialogTest : public cPathFixture {
protected:
    // A path of three nodes turning left: (0, y) → (64, y) → (64, y + 64).
    PathRecord* corner(const char* name, int32_t type, float y) {
        PathRecord* p = path(name, 3, type, 0, y);
        p->lastNode->origin[0] = 64;
        p->lastNode->origin[1] = y + 64;
        p->handle->update();
        return p;
    }
    static Nodes nodesOf(PathRecord* p) {
        Nodes nodes;
        for (NodeRecord* n = p->firstNode; n; n = n->next)
            nodes.push_back(n);
        return nodes;
    }
    static void setKey(NodeRecord* n, const char* key, const char* value) {
        EPair_RemoveKey(&n->epairs, key);
        if (value) EPair_Append(&n->epairs, key, value);
    }
    static const char* key(NodeRecord* n, const char* key) {
        const EPair* pair = EPair_Find(n->epairs, key);
        return pair ? pair->value : nullptr;
    }
    static void setAngles(NodeRecord* n, float pitch, float yaw, float roll) {
        n->angles[0] = pitch;
        n->angles[1] = yaw;
        n->angles[2] = roll;
    }
    static QPushButton* ok(cPathNodeDialog* d) { return d->buttonBox->button(QDialogButtonBox::Ok); }
};

// Each case lays out its own path, selects nodes, plays the user in the dialog and tells what the
// map must look like afterwards: the command's result is compared with a twin made by hand from
// the state before, and Undo must give that state back exactly.
TEST_F(PathNodeDialogTest, EditsMatchTheirTwinAndUndoRestores) {
    struct Case {
        const char* name;
        int32_t type;
        std::vector<int> selected;                  // node indices, in selection order
        std::function<void(const Nodes&)> prepare;  // before the dialog opens
        std::function<void(cPathNodeDialog*)> play; // the user
        bool accept;
        const char* level;                      // empty: nothing recorded
        std::function<void(const Nodes&)> twin; // the expected edit; null: none
    };
    const Case cases[] = {
        {"mixed speeds are kept",
         PathType::OneWay,
         {0, 1},
         [](const Nodes& n) {
             setKey(n[0], "speed", "100");
             setKey(n[1], "speed", "200");
         },
         [](cPathNodeDialog* d) { EXPECT_EQ(d->txtSpeed->text(), "(no change)"); },
         true,
         "Edit Nodes",
         nullptr},
        {"0 removes the speed everywhere",
         PathType::OneWay,
         {0, 1},
         [](const Nodes& n) {
             setKey(n[0], "speed", "100");
             setKey(n[1], "speed", "200");
         },
         [](cPathNodeDialog* d) { type(d->txtSpeed, "0"); },
         true,
         "Edit Nodes",
         [](const Nodes& n) {
             setKey(n[0], "speed", nullptr);
             setKey(n[1], "speed", nullptr);
         }},
        {"an empty field removes the key",
         PathType::OneWay,
         {1},
         [](const Nodes& n) { setKey(n[1], "wait", "2"); },
         [](cPathNodeDialog* d) {
             EXPECT_EQ(d->txtWait->text(), "2");
             type(d->txtWait, "");
         },
         true,
         "Edit Node",
         [](const Nodes& n) { setKey(n[1], "wait", nullptr); }},
        {"numbers written in their short form",
         PathType::OneWay,
         {0, 2},
         nullptr,
         [](cPathNodeDialog* d) {
             type(d->txtYawSpeed, "12.50");
             type(d->txtFOV, "1e3");
         },
         true,
         "Edit Nodes",
         [](const Nodes& n) {
             for (NodeRecord* node : {n[0], n[2]}) {
                 setKey(node, "yaw_speed", "12.5");
                 setKey(node, "fov", "1000");
             }
         }},
        {"Cancel changes nothing",
         PathType::OneWay,
         {0},
         nullptr,
         [](cPathNodeDialog* d) { type(d->txtSpeed, "50"); },
         false,
         "",
         nullptr},
        {"angles 0 -90 0 show the yaw 270",
         PathType::OneWay,
         {1},
         [](const Nodes& n) { setAngles(n[1], 0, -90, 0); },
         [](cPathNodeDialog* d) {
             EXPECT_EQ(d->txtAngles->text(), "0 -90 0");
             EXPECT_EQ(d->cbAngle->currentText(), "270");
             EXPECT_EQ(d->angleBox->angle, 270);
         },
         true,
         "Edit Node",
         nullptr},
        {"Up, then the yaw 45",
         PathType::OneWay,
         {1},
         nullptr,
         [](cPathNodeDialog* d) {
             d->cbAngle->setFocus();
             d->cbAngle->setCurrentIndex(0); // "Up"
             EXPECT_EQ(d->txtAngles->text(), "-90 0 0");
             EXPECT_EQ(d->angleBox->angle, -1);
             type(d->cbAngle->lineEdit(), "45");
             EXPECT_EQ(d->txtAngles->text(), "0 45 0");
         },
         true,
         "Edit Node",
         [](const Nodes& n) { setAngles(n[1], 0, 45, 0); }},
        {"typed angles reach the yaw box",
         PathType::OneWay,
         {0},
         nullptr,
         [](cPathNodeDialog* d) {
             type(d->txtAngles, "90 0 0");
             EXPECT_EQ(d->cbAngle->currentText(), "Down");
             type(d->txtAngles, "10 -1 5");
             EXPECT_EQ(d->cbAngle->currentText(), "359");
         },
         true,
         "Edit Node",
         [](const Nodes& n) { setAngles(n[0], 10, -1, 5); }},
        {"(auto) on a one-way path",
         PathType::OneWay,
         {0, 1, 2},
         nullptr,
         [](cPathNodeDialog* d) {
             Widget_Click(d->btnAutoAngle);
             EXPECT_EQ(d->txtAngles->text(), "(auto)");
             EXPECT_EQ(d->cbAngle->currentText(), "(diff)");
         },
         true,
         "Edit Nodes",
         [](const Nodes& n) {
             setAngles(n[0], 0, 0, 0);
             setAngles(n[1], 0, 90, 0);
             setAngles(n[2], 0, 90, 0); // along the segment leading to it
         }},
        {"(auto) on a circular path",
         PathType::Circular,
         {0, 1, 2},
         nullptr,
         [](cPathNodeDialog* d) { Widget_Click(d->btnAutoAngle); },
         true,
         "Edit Nodes",
         [](const Nodes& n) {
             setAngles(n[0], 0, 0, 0);
             setAngles(n[1], 0, 90, 0);
             setAngles(n[2], 0, 225, 0); // towards the first node
         }},
        {"retrigger partly checked keeps each node's flags",
         PathType::OneWay,
         {0, 1},
         [](const Nodes& n) {
             setKey(n[0], "spawnflags", "5");
             setKey(n[1], "spawnflags", "2");
         },
         [](cPathNodeDialog* d) { EXPECT_EQ(d->cbRetrigger->checkState(), Qt::PartiallyChecked); },
         true,
         "Edit Nodes",
         nullptr},
        {"retrigger checked sets only its bit",
         PathType::OneWay,
         {0, 1},
         [](const Nodes& n) {
             setKey(n[0], "spawnflags", "5");
             setKey(n[1], "spawnflags", "2");
         },
         [](cPathNodeDialog* d) {
             Widget_Click(d->cbRetrigger);
             EXPECT_EQ(d->cbRetrigger->checkState(), Qt::Checked);
         },
         true,
         "Edit Nodes",
         [](const Nodes& n) { setKey(n[1], "spawnflags", "3"); }},
        {"retrigger cleared removes a flag word of 0",
         PathType::OneWay,
         {0, 1},
         [](const Nodes& n) {
             setKey(n[0], "spawnflags", "1");
             setKey(n[1], "spawnflags", "3");
         },
         [](cPathNodeDialog* d) {
             Widget_Click(d->cbRetrigger); // partly → checked
             Widget_Click(d->cbRetrigger); // → cleared
         },
         true,
         "Edit Nodes",
         [](const Nodes& n) {
             setKey(n[0], "spawnflags", nullptr);
             setKey(n[1], "spawnflags", "2");
         }},
        {"name and target as map text",
         PathType::OneWay,
         {1},
         nullptr,
         [](cPathNodeDialog* d) {
             type(d->txtName, QStringLiteral("Узел"));
             type(d->cbTarget->lineEdit(), "door1");
         },
         true,
         "Edit Node",
         [](const Nodes& n) {
             n[1]->name = Sys_StrDup("\xd3\xe7\xe5\xeb");
             n[1]->message = Sys_StrDup("door1");
         }},
    };
    float y = 1024;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        y += 256;
        PathRecord* p = corner(c.name, c.type, y);
        Nodes nodes = nodesOf(p);
        if (c.prepare) c.prepare(nodes);
        Map_DeselectNodes(world);
        for (int i : c.selected)
            Map_SelectObject(world, nodes[size_t(i)]);
        const std::string before = dump();
        const std::string level = newestLevel();

        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cPathNodeDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                c.play(dialog);
            },
            c.accept);
        window->cmdEditPathNodeProperties();
        ASSERT_TRUE(answer.answered);
        if (!*c.level) {
            EXPECT_EQ(newestLevel(), level);
            EXPECT_EQ(differenceFrom(before), "");
            continue;
        }
        EXPECT_EQ(newestLevel(), c.level);
        const std::string after = dump();
        undo();
        EXPECT_EQ(differenceFrom(before), "");
        if (c.twin) c.twin(nodesOf(findPath(c.name)));
        EXPECT_EQ(differenceFrom(after), "");
    }
}

// A typo or text a map cannot hold is refused with the dialog left open; nothing is written.
TEST_F(PathNodeDialogTest, RefusedInputKeepsTheDialogOpen) {
    struct Case {
        QLineEdit* Ui_cPathNodeDialog::*field;
        QString text;
        QString warning;
    };
    const Case cases[] = {
        {&Ui_cPathNodeDialog::txtSpeed, "1O0", "\"1O0\" is not a number."},
        {&Ui_cPathNodeDialog::txtFOV, "ninety", "\"ninety\" is not a number."},
        {&Ui_cPathNodeDialog::txtAngles, "0 x 0", "\"0 x 0\" is not a number."},
        // Numbers a float cannot hold, or no finite number at all.
        {&Ui_cPathNodeDialog::txtSpeed, "1e39", "\"1e39\" is not a number."},
        {&Ui_cPathNodeDialog::txtFOV, "inf", "\"inf\" is not a number."},
        {&Ui_cPathNodeDialog::txtAngles, "0 nan 0", "\"0 nan 0\" is not a number."},
        {&Ui_cPathNodeDialog::txtAngles, "0 -4e38 0", "\"0 -4e38 0\" is not a number."},
        {&Ui_cPathNodeDialog::txtName, QStringLiteral("节点"),
         QStringLiteral("\"节点\" holds characters a map cannot store.")},
    };
    PathRecord* p = corner("refused", PathType::OneWay, 2048);
    setKey(p->firstNode, "speed", "100");
    setKey(nodeAt(p, 1), "speed", "100");
    select({p->firstNode, nodeAt(p, 1)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::string before = dump();
        const std::string level = newestLevel();
        cPromptScript prompts;
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cPathNodeDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                type(dialog->*c.field, c.text);
                Widget_Click(ok(dialog));
                EXPECT_TRUE(dialog->isVisible());
            },
            false);
        window->cmdEditPathNodeProperties();
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].text, c.warning);
        EXPECT_EQ(newestLevel(), level);
        EXPECT_EQ(differenceFrom(before), "");
    }
}

TEST_F(PathNodeDialogTest, FormTargetsAndCameraAngles) {
    PathRecord* p = corner("lift", PathType::OneWay, 2048);
    p->lastNode->name = Sys_StrDup("top");
    path("unnamed", 2, PathType::OneWay, 0, 3072);
    select({nodeAt(p, 1)});
    cCanvas* camera = nullptr;
    for (cCanvas* view : child->views)
        if (view->is3D()) camera = view;
    ASSERT_NE(camera, nullptr);
    camera->angles[0] = 20.7f;
    camera->angles[1] = 135.2f;
    camera->angles[2] = 0;

    cDialogAnswer answer([](QDialog* d) {
        auto* dialog = qobject_cast<cPathNodeDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Edit Path Node");
        EXPECT_EQ(dialog->size(), QSize(282, 339));
        EXPECT_EQ(dialog->angleBox->parentWidget(), dialog->angleWidget);
        EXPECT_EQ(dialog->angleBox->geometry(), QRect(0, 0, 60, 50));
        QStringList targets;
        for (int i = 0; i < dialog->cbTarget->count(); ++i)
            targets.append(dialog->cbTarget->itemText(i));
        // The door's targetname, the named node, and the path whose first node has no name.
        EXPECT_EQ(targets, (QStringList{"door1", "lift", "top", "unnamed"}));
        Widget_Click(dialog->btnCameraAngle);
        EXPECT_EQ(dialog->txtAngles->text(), "-20 135 0");
        EXPECT_EQ(dialog->cbAngle->currentText(), "135");
    });
    window->cmdEditPathNodeProperties();
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(nodeAt(findPath("lift"), 1)->angles[1], 135.0f);
}

} // namespace

namespace {

// The two path forms as built: title, size fixed, icon, hints, and each control's text.
TEST_F(PathNodeDialogTest, FormsCarryTheirNamesTextsSizesAndFlags) {
    cPathDialog path(child->document, window.get());
    cPathNodeDialog node(child->document, window.get());
    struct Form {
        QDialog* dialog;
        const char* title;
        QSize size;
        std::vector<std::pair<const char*, const char*>> texts; // object name, text or label
    };
    const Form forms[] = {
        {&path,
         "Path Properties",
         {431, 187},
         {{"groupBox", "General"},
          {"groupBox_3", "Direction"},
          {"rbOneWay", "&One way"},
          {"rbCircular", "Ci&rcular"},
          {"rbPingPong", "&Ping-pong"},
          {"label", "&Name:"},
          {"label_2", "&Class:"}}},
        {&node,
         "Edit Path Node",
         {282, 339},
         {{"label", "&Name Override:"},
          {"label_2", "&Fire On Pass:"},
          {"cbRetrigger", "Wait for &Retrigger"},
          {"label_3", "&Yaw"},
          {"label_4", "&Angles:"},
          {"label_5", "&Speed:"},
          {"label_6", "Ya&w speed:"},
          {"label_7", "&Wait:"},
          {"label_8", "&FOV:"},
          {"btnAutoAngle", "A&uto"},
          {"btnCameraAngle", "Ca&mera"}}},
    };
    for (const Form& f : forms) {
        SCOPED_TRACE(f.title);
        EXPECT_EQ(f.dialog->windowTitle(), f.title);
        EXPECT_EQ(f.dialog->minimumSize(), f.size);
        EXPECT_EQ(f.dialog->maximumSize(), f.size);
        EXPECT_FALSE(f.dialog->windowIcon().isNull());
        const Qt::WindowFlags flags = f.dialog->windowFlags();
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
        EXPECT_TRUE(flags & Qt::MSWindowsFixedSizeDialogHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        for (const auto& [name, text] : f.texts) {
            QWidget* w = Widget_Find<QWidget>(f.dialog, name);
            ASSERT_NE(w, nullptr);
            const QVariant shown = w->property("text").isValid() ? w->property("text") : w->property("title");
            EXPECT_EQ(shown.toString(), QString::fromUtf8(text)) << name;
        }
    }
    EXPECT_TRUE(path.rbOneWay->isChecked());
    EXPECT_TRUE(path.cbClass->isEditable() && node.cbTarget->isEditable() && node.cbAngle->isEditable());
    EXPECT_EQ(node.cbAngle->itemText(0), "Up");
    EXPECT_EQ(node.cbAngle->itemText(1), "Down");
    // The sample definitions' path-like point classes.
    EXPECT_GE(path.cbClass->findText("path_corner"), 0);
    EXPECT_GE(path.cbClass->findText("path_camera"), 0);
}

} // namespace
