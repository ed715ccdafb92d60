#include "WidgetInput.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"

#include <cmath>
#include <vector>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTranslator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "dialogs/application/CustomAngleBox.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "gamedata/TextureLists.h"
#include "document/SelectionSummary.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "document/WorldDump.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "views/ChildWindow.h"

namespace {

// A class with a key of every type the editors tell apart.
const char* const kFgd = R"(
@SolidClass = worldspawn : "World" [
	message(string) : "Title"
	sky(sky) : "Sky"
]
@SolidClass = func_group : "Group" []
@PointClass size(-8 -8 -8, 8 8 8) = light : "Point <light>" [
	light(integer) : "Brightness" : "300" : "<default 300>"
	_color(color1) : "Colour"
	target(target_destination) : "Target"
	targetname(target_source) : "Name"
	style(choices) : "Style" : "0" = [
		0 : "Normal"
		1 : "Flicker"
	]
	spawnflags(flags) = [
		1 : "Linear" : 0
		32 : "Five" : 0
		8388608 : "Top" : 0
		16777216 : "Hidden" : 0
	]
]
@PointClass size(-8 -8 -8, 8 8 8) = info_target : "Target" [
	targetname(target_source) : "Name"
	angle(angle) : "Yaw"
]
@PointClass size(-8 -8 -8, 8 8 8) = info_notnull : "Nothing" [
	speed(float) : "Speed" : "10"
]
@PointClass size(-8 -8 -8, 8 8 8) = target_speaker : "Speaker" [
	noise(sound) : "Sound"
	_light(color255) : "Glow"
	origin(origin) : "Origin"
	offset(vector) : "Offset"
	decal(decal) : "Decal"
	remap(shader) : "Remap"
]
)";

const char* const kMap = R"({
"classname" "worldspawn"
"message" "fixture"
{
( -16 -16 0 ) ( -16 -16 -16 ) ( -16 528 -16 ) common/caulk 0 0 0 0.5 0.5 0 0 0
( 528 528 -16 ) ( 528 -16 -16 ) ( 528 -16 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0
( 528 -16 -16 ) ( -16 -16 -16 ) ( -16 -16 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0
( -16 528 0 ) ( -16 528 -16 ) ( 528 528 -16 ) common/caulk 0 0 0 0.5 0.5 0 0 0
( -16 528 -16 ) ( -16 -16 -16 ) ( 528 -16 -16 ) common/caulk 0 0 0 0.5 0.5 0 0 0
( 528 -16 0 ) ( -16 -16 0 ) ( -16 528 0 ) common/caulk 0 0 0 0.5 0.5 0 0 0
}
}
{
"classname" "light"
"origin" "0 0 64"
"light" "200"
"_color" "255 255 255"
"target" "a"
"spawnflags" "1"
"angle" "90"
}
{
"classname" "light"
"origin" "64 0 64"
"light" "200"
"target" "b"
"spawnflags" "3"
"angle" "-90"
}
{
"classname" "target_speaker"
"origin" "128 0 64"
"_light" "0 0 0 200"
"noise" "ambience/x.wav"
}
{
"classname" "info_target"
"origin" "192 0 64"
"targetname" "t1"
}
)";

// Real input events, sent straight to the widget.
void mouseClick(QWidget* widget, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void keyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void keyClicks(QWidget* widget, const QString& text) {
    for (QChar ch : text)
        keyClick(widget, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
}

template <class W> W* ctl(QWidget* dialog, const char* name) {
    W* found = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ObjectPropertiesTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeFile("base/fixture.fgd", kFgd);
        writeFile("base/fixture.map", kMap);
        writeFile("base/KDKGameCfg.ini",
                  QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\nGameData0=%1\n"
                                 "GameBasedir=%2\nGameModdir=%3\n")
                      .arg(path("base/fixture.fgd"), path("game/base"), path("game/mod"))
                      .toUtf8());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(path("base/fixture.map")), nullptr);
        child = window->activeChildWindow();
        ASSERT_NE(child, nullptr);
        world = child->document->world;
        dialog = window->objectPropertiesDialog;
        ASSERT_NE(dialog, nullptr);
        for (EntityRecord* e = world->entities; e; e = e->next)
            entities.append(e);
        ASSERT_EQ(entities.size(), 5);
        ASSERT_NE(entities[1]->handle->entityClass, nullptr) << "the fixture classes are not loaded";
        QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }

    // Selects the entities (by index) and opens the dialog by its command, in raw or smart mode.
    void open(std::initializer_list<int> which, bool smart = false) {
        Map_SelectNone(world);
        for (int i : which)
            Map_SelectObject(world, entities[i]);
        window->cmdEditProperties();
        QApplication::processEvents();
        if (dialog->smartMode() != smart) mouseClick(ctl<QPushButton>(dialog, "btnSmart"));
        ASSERT_EQ(dialog->smartMode(), smart);
    }
    int rowOf(const QString& key) const {
        QTableWidget* t = ctl<QTableWidget>(dialog, "epairTable");
        for (int r = 0; r < t->rowCount(); ++r)
            if (t->item(r, 0)->text() == key ||
                t->item(r, 0)->data(Qt::UserRole).toByteArray() == key.toLatin1())
                return r;
        return -1;
    }
    QString cell(const QString& key, int column = 1) const {
        const int r = rowOf(key);
        return r < 0 ? QStringLiteral("<none>")
                     : ctl<QTableWidget>(dialog, "epairTable")->item(r, column)->text();
    }
    void clickRow(const QString& key) {
        QTableWidget* t = ctl<QTableWidget>(dialog, "epairTable");
        const int r = rowOf(key);
        ASSERT_GE(r, 0) << key.toStdString();
        mouseClick(t->viewport(), t->visualItemRect(t->item(r, 0)).center());
        ASSERT_EQ(t->currentRow(), r);
    }
    static void typeInto(QWidget* box, const QString& text, bool clear = true) {
        box->setFocus();
        if (clear) keyClick(box, Qt::Key_A, Qt::ControlModifier), keyClick(box, Qt::Key_Delete);
        keyClicks(box, text);
    }
    const char* newest() const {
        const UndoLevel* l = Undo_NewestLevel(child->document->undo);
        return l ? l->name : "";
    }
    int levels() const {
        int n = 0;
        for (const UndoLevel* l = child->document->undo->undoChain; l; l = l->next)
            ++n;
        return n;
    }
    QByteArray key(int entity, const char* name) const {
        EPair* p = entities[entity]->handle->findKey(name);
        return p ? QByteArray(p->value) : QByteArray("<none>");
    }
    QByteArray dump() const { return Map_DumpWorld(world); }
    // One level of that name; undo gives the dump before and redo the dump after.
    void expectOneLevel(const QByteArray& before, int levelsBefore, const char* name) {
        const QByteArray after = dump();
        EXPECT_NE(after, before);
        EXPECT_EQ(levels(), levelsBefore + 1);
        EXPECT_STREQ(newest(), name);
        ASSERT_TRUE(Undo_StepUndo(child->document->undo));
        EXPECT_EQ(dump().toStdString(), before.toStdString());
        ASSERT_TRUE(Undo_StepRedo(child->document->undo));
        EXPECT_EQ(dump().toStdString(), after.toStdString());
    }
    void refresh() {
        // Entities are found again after an undo: records may be new.
        entities.clear();
        for (EntityRecord* e = world->entities; e; e = e->next)
            entities.append(e);
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cChildWindow* child = nullptr;
    MapWorld* world = nullptr;
    cObjectPropertiesDialog* dialog = nullptr;
    QList<EntityRecord*> entities;
};

TEST_F(ObjectPropertiesTest, FormAndPageModes) {
    EXPECT_EQ(dialog->objectName(), "cObjectPropertiesDialog");
    EXPECT_EQ(dialog->windowTitle(), "Object Properties");
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(ctl<QWidget>(dialog, "wSmartOff")->pos(), ctl<QWidget>(dialog, "wSmartOn")->pos());
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbParm")->pos(), ctl<QLineEdit>(dialog, "txtParm")->pos());
    EXPECT_EQ(ctl<QPushButton>(dialog, "btnPlaySound")->pos(),
              ctl<QPushButton>(dialog, "btnPickColor")->pos());
    QTableWidget* table = ctl<QTableWidget>(dialog, "epairTable");
    // Only a deliberate act edits a cell (a key is renamed on its own cell); typing in the key
    // field never does.
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    EXPECT_FALSE(table->showGrid());
    EXPECT_EQ(table->font().pointSize(), 8);
    EXPECT_EQ(dialog->flagBox(5)->toolTip(), "32");
    EXPECT_EQ(dialog->flagBox(23)->whatsThis(), "23");
    const int w = (ctl<QTabWidget>(dialog, "tabWidget")->width() - 22) / 3;
    EXPECT_EQ(dialog->flagBox(9)->geometry(), QRect(w + 4 + 10, 22 + 12, w, 20));

    const struct {
        QList<int> entities;
        bool brushOnly;
        int mode;
        QStringList tabs;
    } cases[] = {{{}, false, 0, {"&Class Info"}},
                 {{1}, false, 3, {"&Class Info", "&Flags", "&VisGroup"}},
                 {{1, 2}, false, 3, {"&Class Info", "&Flags", "&VisGroup"}},
                 {{}, true, 2, {"&VisGroup"}}};
    for (const auto& c : cases) {
        Map_SelectNone(world);
        for (int i : c.entities)
            Map_SelectObject(world, entities[i]);
        if (c.brushOnly) Map_SelectObject(world, entities[0]->firstBrush);
        window->cmdEditProperties();
        QApplication::processEvents();
        EXPECT_EQ(dialog->pageMode(), c.mode);
        QStringList tabs;
        for (int i = 0; i < ctl<QTabWidget>(dialog, "tabWidget")->count(); ++i)
            tabs << ctl<QTabWidget>(dialog, "tabWidget")->tabText(i);
        EXPECT_EQ(tabs, c.tabs) << c.mode;
        EXPECT_EQ(ctl<QLabel>(dialog, "lblNoProps")->isVisibleTo(dialog), c.mode == 0);
    }
    // The world: one class, not changeable.
    window->cmdMapProperties();
    EXPECT_FALSE(ctl<QComboBox>(dialog, "cbClassList")->isEnabled());
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbClassList")->count(), 1);
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbClassList")->currentText(), "worldspawn");
    // Escape hides, and the window lives on.
    ASSERT_TRUE(dialog->isVisible());
    keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window->objectPropertiesDialog, dialog);
}

TEST_F(ObjectPropertiesTest, RawTableMergesAndEditsAsOneLevel) {
    open({1, 2});
    EXPECT_EQ(cell("target"), "(no change)");
    EXPECT_EQ(cell("light"), "200");
    EXPECT_EQ(cell("_color"), "255 255 255"); // only one of them has it
    EXPECT_EQ(rowOf("spawnflags"), -1);
    EXPECT_EQ(rowOf("origin"), -1);

    // A value typed key by key is one level.
    QByteArray before = dump();
    int n = levels();
    clickRow("light");
    typeInto(ctl<QLineEdit>(dialog, "txtValue"), "450");
    EXPECT_EQ(key(1, "light"), "450");
    EXPECT_EQ(key(2, "light"), "450");
    expectOneLevel(before, n, "Change Value");
    refresh();

    // A cleared key field renames nothing; leaving it blank shows the name again.
    open({1});
    clickRow("target");
    before = dump();
    n = levels();
    typeInto(ctl<QLineEdit>(dialog, "txtKey"), "");
    EXPECT_EQ(key(1, "target"), "a");
    EXPECT_EQ(levels(), n);
    keyClick(ctl<QLineEdit>(dialog, "txtKey"), Qt::Key_Tab);
    EXPECT_EQ(ctl<QLineEdit>(dialog, "txtKey")->text(), "target");
    // A rename is made in the table, on the key's own cell (F2, the name, Return).
    QTableWidget* table = ctl<QTableWidget>(dialog, "epairTable");
    clickRow("target");
    keyClick(table, Qt::Key_F2);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    typeInto(editor, "goal");
    keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(key(1, "goal"), "a");
    EXPECT_EQ(key(1, "target"), "<none>");
    EXPECT_EQ(cell("goal"), "a");
    expectOneLevel(before, n, "Rename Key");
}

// The key field names a key, it does not rename the selected one: a name typed over the selected
// row's is added with the value typed (Return), the row keeps its key and value; a name the
// entity has shows that key's row.
TEST_F(ObjectPropertiesTest, ATypedKeyIsAddedAndTheSelectedKeyKept) {
    open({1});
    auto* keyField = ctl<QLineEdit>(dialog, "txtKey");
    auto* valueField = ctl<QLineEdit>(dialog, "txtValue");
    QTableWidget* table = ctl<QTableWidget>(dialog, "epairTable");
    clickRow("_color");
    const QByteArray before = dump();
    const int n = levels();
    typeInto(keyField, "_colour");
    EXPECT_EQ(key(1, "_color"), "255 255 255");
    EXPECT_EQ(key(1, "_colour"), "<none>");
    EXPECT_EQ(table->currentRow(), -1);
    EXPECT_EQ(levels(), n);
    typeInto(valueField, "1 0 0");
    EXPECT_EQ(key(1, "_color"), "255 255 255");
    keyClick(valueField, Qt::Key_Return);
    EXPECT_EQ(key(1, "_color"), "255 255 255");
    EXPECT_EQ(key(1, "_colour"), "1 0 0");
    EXPECT_EQ(table->currentRow(), rowOf("_colour"));
    expectOneLevel(before, n, "Add Keyvalue");
    refresh();

    // A known name (any case) shows its row; a value typed then changes that key.
    clickRow("light");
    typeInto(keyField, "TARGET");
    EXPECT_EQ(table->currentRow(), rowOf("target"));
    EXPECT_EQ(valueField->text(), "a");
    typeInto(valueField, "c");
    EXPECT_EQ(key(1, "target"), "c");
    EXPECT_EQ(key(1, "light"), "200");
    keyClick(valueField, Qt::Key_Return);
    EXPECT_EQ(key(1, "TARGET"), "c");
    int targets = 0;
    for (EPair* p = entities[1]->epairs; p; p = p->next)
        targets += qstricmp(p->key, "target") == 0;
    EXPECT_EQ(targets, 1);
}

TEST_F(ObjectPropertiesTest, AddAndDeleteKeys) {
    open({1});
    entities[1]->handle->appendKeyValue("target#1", "c");
    window->cmdEditProperties();
    // newkey1, then newkey2; the key "target" becomes target#2 beside target and target#1. The
    // levels are checked after both adds: an undo reloads the shown dialog, which starts its
    // proposals afresh.
    QStringList proposed;
    const QByteArray beforeAdds = dump();
    const int levelsBefore = levels();
    for (const char* typed : {"", "target"}) {
        cDialogAnswer answer([&](QDialog* d) {
            auto* key = Widget_Find<QLineEdit>(d, "txtKey");
            proposed << key->text();
            if (*typed) {
                key->setText(typed);
                Widget_Find<QPlainTextEdit>(d, "txtValue")->setPlainText("x");
            }
        });
        mouseClick(ctl<QPushButton>(dialog, "btnAdd"));
        ASSERT_TRUE(answer.answered);
        EXPECT_STREQ(newest(), "Add Keyvalue");
    }
    EXPECT_EQ(proposed, QStringList({"newkey1", "newkey2"}));
    // One level each: two undos give the world before, two redos the world after.
    const QByteArray afterAdds = dump();
    EXPECT_NE(afterAdds, beforeAdds);
    EXPECT_EQ(levels(), levelsBefore + 2);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(Undo_StepUndo(child->document->undo));
    EXPECT_EQ(dump().toStdString(), beforeAdds.toStdString());
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(Undo_StepRedo(child->document->undo));
    EXPECT_EQ(dump().toStdString(), afterAdds.toStdString());
    EXPECT_EQ(key(1, "newkey1"), "value");
    EXPECT_EQ(key(1, "target#2"), "x");

    // Deleting a row selects the one above it.
    clickRow("target#1");
    const int row = ctl<QTableWidget>(dialog, "epairTable")->currentRow();
    const QByteArray before = dump();
    const int n = levels();
    mouseClick(ctl<QPushButton>(dialog, "btnDel"));
    EXPECT_EQ(key(1, "target#1"), "<none>");
    EXPECT_EQ(ctl<QTableWidget>(dialog, "epairTable")->currentRow(), row - 1);
    expectOneLevel(before, n, "Delete Keyvalue");
}

TEST_F(ObjectPropertiesTest, NewKeyvalueLimits) {
    cNewKeyvalueDialog* nk = dialog->newKeyvalueDialog();
    auto* ok = ctl<QDialogButtonBox>(nk, "buttonBox")->button(QDialogButtonBox::Ok);
    ctl<QLineEdit>(nk, "txtKey")->setText("   ");
    EXPECT_FALSE(ok->isEnabled());
    ctl<QLineEdit>(nk, "txtKey")->setText("k");
    EXPECT_TRUE(ok->isEnabled());
    // A paste of 100,000 characters with line breaks is cut in one step to one line of 512.
    QString big(100000, QLatin1Char('v'));
    big[10] = QLatin1Char('\n');
    QApplication::clipboard()->setText(big);
    ctl<QPlainTextEdit>(nk, "txtValue")->clear();
    ctl<QPlainTextEdit>(nk, "txtValue")->setFocus();
    keyClick(ctl<QPlainTextEdit>(nk, "txtValue"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(nk->value().size(), kNewValueLimit);
    EXPECT_FALSE(nk->value().contains(QLatin1Char('\n')));
    // Return in the value is swallowed.
    open({1});
    nk->show();
    ASSERT_TRUE(nk->isVisible());
    ctl<QPlainTextEdit>(nk, "txtValue")->setFocus();
    int finished = -1;
    QObject::connect(nk, &QDialog::finished, [&](int r) { finished = r; });
    keyClick(ctl<QPlainTextEdit>(nk, "txtValue"), Qt::Key_Return);
    EXPECT_EQ(finished, -1);
    EXPECT_TRUE(nk->isVisible());
    nk->hide();
}

TEST_F(ObjectPropertiesTest, Angles) {
    open({1, 2});
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbAngle")->currentText(), "(diff)");
    open({2});
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbAngle")->currentText(), "270");
    // "-1" as the angle value points the entity up.
    open({1});
    clickRow("angle");
    QByteArray before = dump();
    int n = levels();
    typeInto(ctl<QLineEdit>(dialog, "txtValue"), "-1");
    EXPECT_EQ(entities[1]->angles[0], -90.0f);
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbAngle")->currentText(), "Up");
    expectOneLevel(before, n, "Change Value");
    // A yaw typed into the box; text that is no angle changes nothing.
    before = dump();
    n = levels();
    typeInto(ctl<QComboBox>(dialog, "cbAngle")->lineEdit(), "4x");
    EXPECT_EQ(key(1, "angle"), "4");
    typeInto(ctl<QComboBox>(dialog, "cbAngle")->lineEdit(), "45");
    EXPECT_EQ(key(1, "angle"), "45");
    EXPECT_EQ(entities[1]->angles[1], 45.0f);
    expectOneLevel(before, n, "Change Angle");
}

TEST_F(ObjectPropertiesTest, FlagsKeepHiddenBits) {
    open({1, 2});
    EXPECT_EQ(dialog->flagBox(0)->text(), "Linear");
    EXPECT_EQ(dialog->flagBox(5)->text(), "Five");
    EXPECT_EQ(dialog->flagBox(23)->text(), "Top");
    EXPECT_EQ(dialog->flagBox(0)->checkState(), Qt::Checked);
    EXPECT_EQ(dialog->flagBox(1)->checkState(), Qt::PartiallyChecked);
    entities[2]->spawnflags |= 1 << 24;
    QByteArray before = dump();
    int n = levels();
    ctl<QTabWidget>(dialog, "tabWidget")->setCurrentIndex(1);
    mouseClick(dialog->flagBox(2), QPoint(5, 10));
    EXPECT_EQ(key(1, "spawnflags"), "5");
    EXPECT_EQ(key(2, "spawnflags"), QByteArray::number(7 | (1 << 24)));
    EXPECT_EQ(dialog->flagBox(1)->checkState(), Qt::PartiallyChecked);
    expectOneLevel(before, n, "Change Flags");
}

TEST_F(ObjectPropertiesTest, ClassTypedLetterByLetterIsOneLevel) {
    open({1, 4});
    // Two point entities: the class list is enabled with an empty text (different classes).
    QComboBox* combo = ctl<QComboBox>(dialog, "cbClassList");
    ASSERT_TRUE(combo->isEnabled());
    const QByteArray before = dump();
    const int n = levels();
    combo->lineEdit()->setFocus();
    combo->lineEdit()->selectAll();
    // "info_notnull" passes through "info_" and "info_target"-like prefixes; nothing binds before Return.
    keyClicks(combo->lineEdit(), "info_notnull");
    EXPECT_EQ(levels(), n);
    keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_STREQ(entities[1]->classname, "info_notnull");
    EXPECT_STREQ(entities[4]->classname, "info_notnull");
    EXPECT_EQ(key(1, "speed"), "10");
    expectOneLevel(before, n, "Change Class");
}

// The status bar names the selection as it stands after a class change made here.
TEST_F(ObjectPropertiesTest, TheStatusBarFollowsAClassChange) {
    open({1});
    QLabel* selection = window->statusLabels[2];
    ASSERT_NE(selection, nullptr);
    Map_UpdateSelectionSummary(world);
    EXPECT_EQ(selection->text(), "light");
    QComboBox* combo = ctl<QComboBox>(dialog, "cbClassList");
    combo->lineEdit()->setFocus();
    combo->lineEdit()->selectAll();
    keyClicks(combo->lineEdit(), "info_target");
    keyClick(combo->lineEdit(), Qt::Key_Return);
    ASSERT_STREQ(entities[1]->classname, "info_target");
    EXPECT_EQ(selection->text(), "info_target");
}

TEST_F(ObjectPropertiesTest, MixedKindsKeepTheirClasses) {
    Map_SelectNone(world);
    Map_SelectObject(world, entities[0]);
    Map_SelectObject(world, entities[1]);
    window->cmdEditProperties();
    dialog->setPages(3);
    dialog->loadSelection(world->selectedEntities);
    // Mixed kinds: "(no change)" only; a paste of a classname does nothing to the world.
    QApplication::clipboard()->setText("!!EPAIRS\n\"classname\" \"info_target\"");
    mouseClick(ctl<QPushButton>(dialog, "btnPaste"));
    EXPECT_STREQ(entities[0]->classname, "worldspawn");
}

TEST_F(ObjectPropertiesTest, ClipboardText) {
    // The light example: origin and spawnflags left out, no final newline.
    open({1});
    mouseClick(ctl<QPushButton>(dialog, "btnCopy"));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "!!EPAIRS\n\"classname\" \"light\"\n\"light\" \"200\"\n\"_color\" \"255 255 255\"\n\"target\" "
              "\"a\"\n\"angle\" \"90\"");
    open({1, 3});
    const QByteArray two = dialog->copyText();
    EXPECT_FALSE(two.contains("classname"));
    open({1, 2});
    EXPECT_TRUE(dialog->copyText().contains("\"target\" \"(no change)\""));

    const struct {
        const char* text;
        const char* error; // console text, "" for none
        const char* target;
        const char* newKey;
    } cases[] = {
        {"!!EPAIRS\n\"target\" \"(no change)\"\n\"fresh\" \"1\"", "", "a", "1"},
        {"!!epairs\n\"fresh\" \"1\"", "", "a", "<none>"},
        {"!!EPAIRS\n\"fresh\" \"1\"\n\"target\"", "line 3 is incomplete", "a", "1"},
        // An origin or angle the map cannot hold is refused; the other keys go in.
        {"!!EPAIRS\n\"origin\" \"1e39 0 0\"\n\"fresh\" \"1\"", "'1e39 0 0' is no value for the key origin",
         "a", "1"},
        {"!!EPAIRS\n\"origin\" \"0 0 9e6\"", "'0 0 9e6' is no value for the key origin", "a", "<none>"},
        {"!!EPAIRS\n\"angle\" \"4e38\"", "'4e38' is no value for the key angle", "a", "<none>"},
        {"!!EPAIRS\n\"target\" \"z\"", "", "z", "<none>"},
    };
    for (const auto& c : cases) {
        open({1});
        const QByteArray before = dump();
        const int n = levels();
        console.clear();
        QApplication::clipboard()->setText(QString::fromLatin1(c.text));
        mouseClick(ctl<QPushButton>(dialog, "btnPaste"));
        EXPECT_EQ(key(1, "target"), c.target) << c.text;
        EXPECT_EQ(key(1, "fresh"), c.newKey) << c.text;
        EXPECT_EQ(std::vector<float>(entities[1]->origin, entities[1]->origin + 3),
                  (std::vector<float>{0, 0, 64}))
            << c.text;
        EXPECT_EQ(key(1, "angle"), "90") << c.text;
        if (*c.error) {
            EXPECT_TRUE(console.contains(c.error)) << c.text;
        }
        if (dump() != before) {
            expectOneLevel(before, n, "Paste Keyvalues");
            refresh();
        }
        if (EPair* p = entities[1]->handle->findKey("fresh")) {
            EXPECT_EQ(entities[1]->epairs, p) << "a new key comes first";
            entities[1]->handle->removeKey("fresh");
        }
    }
    // A 300-character key is cut to 255.
    open({1});
    dialog->pasteText("!!EPAIRS\n\"" + QByteArray(300, 'k') + "\" \"v\"");
    EXPECT_EQ(key(1, QByteArray(255, 'k').constData()), "v");
    // A value with a quote is left out of the copy, with a warning naming its key.
    entities[1]->handle->appendKeyValue("quoted", "say \"hi\"");
    console.clear();
    EXPECT_FALSE(dialog->copyText().contains("quoted"));
    EXPECT_TRUE(console.contains("quoted"));
    // Cyrillic text crosses as Windows-1251 bytes and back.
    entities[1]->handle->setKeyValue("target", "\xcf\xf0\xe8\xe2\xe5\xf2");
    open({1});
    mouseClick(ctl<QPushButton>(dialog, "btnCopy"));
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QString::fromUtf8("Привет")));
    open({2});
    mouseClick(ctl<QPushButton>(dialog, "btnPaste"));
    EXPECT_EQ(key(2, "target"), "\xcf\xf0\xe8\xe2\xe5\xf2");
}

// Numbers a float cannot hold, and points outside the world, are refused with a console message
// and the entity keeps its value: a smart field's whole value, or each edit of the raw value field
// of a key that places the entity.
TEST_F(ObjectPropertiesTest, NumbersRefuseNonFiniteAndOutOfWorldValues) {
    const struct {
        int entity;
        bool smart;
        const char* key;
        const char* text;
    } cases[] = {
        {3, true, "offset", "0 inf 0"},
        {3, true, "offset", "-1e39 0 0"},
        {3, true, "_light", "0 0 0 1e39"},
        {1, false, "angle", "4e38"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        open({c.entity}, c.smart);
        clickRow(QString::fromLatin1(c.key));
        const QByteArray before = dump();
        const QByteArray value = key(c.entity, c.key);
        const int n = levels();
        console.clear();
        QLineEdit* field = ctl<QLineEdit>(dialog, c.smart ? "txtParm" : "txtValue");
        typeInto(field, QString::fromLatin1(c.text));
        if (c.smart) {
            keyClick(field, Qt::Key_Return);
            EXPECT_EQ(key(c.entity, c.key), value);
            EXPECT_EQ(levels(), n);
            EXPECT_EQ(dump(), before);
        } else {
            EXPECT_NE(key(c.entity, c.key), QByteArray(c.text));
        }
        EXPECT_TRUE(console.contains(QString::fromLatin1(c.text).left(4)))
            << console.lines.join("\n").toStdString();
        const float half = window->settings.MaxWorldSize * 0.5f;
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(std::isfinite(entities[c.entity]->origin[k]));
            EXPECT_LE(std::fabs(entities[c.entity]->origin[k]), half);
            EXPECT_TRUE(std::isfinite(entities[c.entity]->angles[k]));
        }
    }
}

TEST_F(ObjectPropertiesTest, SmartEditors) {
    open({1}, true);
    EXPECT_EQ(ctl<QLabel>(dialog, "lblAttibs")->text(), "Attributes:");
    EXPECT_EQ(rowOf("spawnflags"), -1);
    // Choices: no value selects the choice "0".
    clickRow("style");
    EXPECT_TRUE(ctl<QComboBox>(dialog, "cbParm")->isVisibleTo(dialog));
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbParm")->currentText(), "Normal");
    QByteArray before = dump();
    int n = levels();
    ctl<QComboBox>(dialog, "cbParm")->setCurrentIndex(1);
    EXPECT_EQ(key(1, "style"), "1");
    expectOneLevel(before, n, "Change Value");
    // Integer: a number is written, text is refused without a level.
    clickRow("light");
    before = dump();
    n = levels();
    typeInto(ctl<QLineEdit>(dialog, "txtParm"), "abc");
    keyClick(ctl<QLineEdit>(dialog, "txtParm"), Qt::Key_Return);
    EXPECT_EQ(key(1, "light"), "200");
    EXPECT_EQ(levels(), n);
    typeInto(ctl<QLineEdit>(dialog, "txtParm"), "");
    keyClick(ctl<QLineEdit>(dialog, "txtParm"), Qt::Key_Return);
    EXPECT_EQ(key(1, "light"), "<none>");
    expectOneLevel(before, n, "Change Value");
    // Target list: every target source of the world.
    clickRow("target");
    EXPECT_NE(ctl<QComboBox>(dialog, "cbParm")->findText("t1"), -1);
    // Two entities that differ show "(no change)"; leaving it writes nothing.
    open({1, 2}, true);
    clickRow("target");
    EXPECT_EQ(ctl<QComboBox>(dialog, "cbParm")->currentText(), "(no change)");

    // Colour: red on "0 0 0 200" keeps the brightness.
    open({3}, true);
    EXPECT_EQ(rowOf("origin"), -1);
    clickRow("_light");
    ASSERT_TRUE(ctl<QPushButton>(dialog, "btnPickColor")->isVisibleTo(dialog));
    before = dump();
    n = levels();
    cDialogAnswer answer([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Choose Color");
        static_cast<QColorDialog*>(d)->setCurrentColor(Qt::red);
    });
    mouseClick(ctl<QPushButton>(dialog, "btnPickColor"));
    EXPECT_EQ(key(3, "_light"), "255 0 0 200");
    expectOneLevel(before, n, "Change Value");
}

// Decal and shader keys are chosen in the window's texture browser: decals open on the decal group,
// shaders on every texture; a new name is written as one level, the same name writes nothing.
TEST_F(ObjectPropertiesTest, DecalAndShaderKeysPickInTheTextureBrowser) {
    TextureLists* lists = GameCfg_CurrentTextureLists();
    ASSERT_NE(lists, nullptr);
    struct Case {
        const char* key;
        QString group; // the browser's group as it opens
        const char* picked;
        QByteArray written;
    };
    const Case cases[] = {
        {"decal", TexList_FindDecalGroup(lists), "decals/blood", "decals/blood"},
        {"remap", QStringLiteral("(All Textures)"), "", "<none>"},
    };
    open({3}, true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        clickRow(c.key);
        QPushButton* pick = ctl<QPushButton>(dialog, "btnDecal");
        ASSERT_TRUE(pick->isVisibleTo(dialog));
        const QByteArray before = dump();
        const int n = levels();
        QString openedOn;
        cDialogAnswer answer([&](QDialog* d) {
            auto* browser = qobject_cast<cTextureBrowserDialog*>(d);
            ASSERT_NE(browser, nullptr);
            openedOn = browser->groupName;
            browser->textureName = QString::fromLatin1(c.picked);
        });
        mouseClick(pick);
        EXPECT_TRUE(answer.answered);
        EXPECT_EQ(openedOn, c.group);
        EXPECT_EQ(key(3, c.key), c.written);
        if (*c.picked) {
            EXPECT_EQ(pick->text(), c.picked);
            expectOneLevel(before, n, "Change Value");
        } else {
            EXPECT_EQ(levels(), n);
        }
    }
}

TEST_F(ObjectPropertiesTest, FilesAndSounds) {
    open({3}, true);
    clickRow("noise");
    EXPECT_TRUE(ctl<QPushButton>(dialog, "btnPlaySound")->isVisibleTo(dialog));
    const bool stripsSound = dialog->profileFlags() & 0x400;
    QDir().mkpath(path("game/mod/sound/ambience"));
    QDir().mkpath(path("game/base/sound/ambience"));
    const QString prefix = stripsSound ? "sound/" : "";
    writeFile("game/base/" + prefix + "ambience/x.wav", "RIFF");
    const QString chosen = path("game/mod/sound/ambience/x.wav");
    EXPECT_EQ(dialog->relativeGamePath(chosen, int(PropertyType::Sound)),
              stripsSound ? "ambience/x.wav" : "sound/ambience/x.wav");
    // Outside both folders the path stays whole.
    EXPECT_EQ(dialog->relativeGamePath("/elsewhere/y.wav", int(PropertyType::Sound)), "/elsewhere/y.wav");
    // The mod folder comes before the base folder.
    QString tried;
    EXPECT_EQ(dialog->resolveSound("ambience/x.wav", &tried), path("game/base/" + prefix + "ambience/x.wav"));
    writeFile("game/mod/" + prefix + "ambience/x.wav", "RIFF");
    EXPECT_EQ(dialog->resolveSound("ambience/x.wav", &tried), path("game/mod/" + prefix + "ambience/x.wav"));
    EXPECT_TRUE(dialog->fileFilter(int(PropertyType::Sound)).startsWith("Sound Files ("));
    EXPECT_EQ(dialog->fileFilter(int(PropertyType::String)), "All Files (*)");
}

TEST_F(ObjectPropertiesTest, VisGroupMembershipKeepsNoLevel) {
    VisGroup* a = Map_CreateVisGroup(world, "A");
    ASSERT_NE(a, nullptr);
    entities[1]->handle->visGroups.add(a);
    open({1, 2});
    QListWidget* list = ctl<QListWidget>(dialog, "lstVisGroups");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "(no group)");
    EXPECT_EQ(list->item(0)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::PartiallyChecked);
    const int n = levels();
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(entities[2]->handle->visGroups.contains(a));
    EXPECT_EQ(a->memberCount, 2);
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
    // "(no group)" takes every edited object out of every group.
    list->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(a->memberCount, 0);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(levels(), n);
}

// The shown dialog follows every change of the selection without being opened again: a click's
// selection, Select None, a delete and its undo.
TEST_F(ObjectPropertiesTest, ShownDialogFollowsTheSelection) {
    open({1});
    QComboBox* classes = ctl<QComboBox>(dialog, "cbClassList");
    ASSERT_EQ(classes->currentText(), "light");
    const auto selectOnly = [this](const cMapObject* object) {
        Map_SelectNone(world);
        Map_SelectById(world, object->id, false);
    };
    selectOnly(entities[4]->handle);
    EXPECT_EQ(dialog->pageMode(), 3);
    EXPECT_EQ(classes->currentText(), "info_target");
    selectOnly(entities[0]->firstBrush->handle);
    EXPECT_EQ(dialog->pageMode(), 2);
    window->cmdEditSelectNone();
    EXPECT_EQ(dialog->pageMode(), 0);

    selectOnly(entities[2]->handle);
    EXPECT_EQ(dialog->pageMode(), 3);
    window->cmdEditDelete();
    EXPECT_EQ(dialog->pageMode(), 0);
    window->cmdEditUndo();
    EXPECT_EQ(dialog->pageMode(), 3);
    EXPECT_EQ(classes->currentText(), "light");
    ASSERT_TRUE(dialog->isVisible());
}

TEST_F(ObjectPropertiesTest, SoundPreviewWithoutOutput) {
    if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "an audio output exists";
    open({3}, true);
    clickRow("noise");
    console.clear();
    mouseClick(ctl<QPushButton>(dialog, "btnPlaySound"));
    EXPECT_TRUE(console.contains("sound is not available"));
}

TEST_F(ObjectPropertiesTest, RussianRetitlesAndKeepsTheMode) {
    open({1});
    QTranslator russian;
    ASSERT_TRUE(russian.load(QStringLiteral(ZARV_BIN_DIR "/local/zarv_ru.qm")));
    QCoreApplication::installTranslator(&russian);
    window->retranslateAll();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Свойства объекта"));
    EXPECT_EQ(dialog->pageMode(), 3);
    EXPECT_EQ(ctl<QTabWidget>(dialog, "tabWidget")->count(), 3);
    EXPECT_EQ(dialog->head(), entities[1]);
    QCoreApplication::removeTranslator(&russian);
    window->retranslateAll();
    EXPECT_EQ(dialog->windowTitle(), "Object Properties");
}

TEST_F(ObjectPropertiesTest, ClassHelp) {
    EntityClass door;
    door.name = "door";
    EXPECT_EQ(cObjectPropertiesDialog::buildClassHelp(&door), "<h1>door</h1><br>\n");
    EntityClass described;
    described.name = "x";
    described.description = "a<b>\\nc";
    EntityProperty colour;
    colour.type = PropertyType::Color255;
    colour.name = "_light";
    colour.displayName = "Glow";
    described.properties.push_back(colour);
    EntityProperty limit;
    limit.type = PropertyType::Integer;
    limit.name = "light";
    limit.displayName = "Brightness";
    limit.description = "<default 300>";
    described.properties.push_back(limit);
    EXPECT_EQ(cObjectPropertiesDialog::buildClassHelp(&described).toStdString(),
              "<h1>x</h1><p>a&lt;b&gt;<br>c</p>\n<h1>KEYS</h1>\n"
              "<p><b>Glow</b> <i>_light</i> &lt;color&gt; :  Color is in RGB format, each integer component "
              "ranges from 0 to 255.</p>\n"
              "<p><b>Brightness</b> <i>light</i> &lt;integer&gt; : &lt;default 300&gt;</p>\n<br>\n");
    // Built once.
    described.description = "changed";
    EXPECT_FALSE(cObjectPropertiesDialog::buildClassHelp(&described).contains("changed"));
    // Shown in the help window.
    open({1});
    mouseClick(ctl<QPushButton>(dialog, "btnHelp"));
    EXPECT_TRUE(window->entityHelpDialog->isVisible());
    EXPECT_TRUE(
        entities[1]->handle->entityClass->helpText.contains("<h1>light</h1><p>Point &lt;light&gt;</p>"));
}

} // namespace
