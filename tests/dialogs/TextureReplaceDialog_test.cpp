// The texture replace dialog run by the Tools menu's command on a fixture added to the sample map:
// the fields typed and the boxes clicked with real events, each case's world compared with the
// same change made through the object setters, one named level that Undo and Redo take exactly.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/TextureReplaceDialog.h"
#include "views/TextureView.h"
#include "document/MapSelection.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"

namespace {

// The dialog's controls, found by their object names.
struct Controls {
    explicit Controls(QWidget* d) {
        auto find = [d](auto*& out, const char* name) {
            out = d->findChild<std::remove_reference_t<decltype(*out)>*>(QLatin1String(name));
            EXPECT_NE(out, nullptr) << name;
        };
        find(txtFind, "txtFind");
        find(txtReplace, "txtReplace");
        find(btnFind, "btnFind");
        find(btnReplace, "btnReplace");
        find(rbInMarked, "rbInMarked");
        find(rbInAll, "rbInAll");
        find(rbActExact, "rbActExact");
        find(rbActPartial, "rbActPartial");
        find(rbActSubst, "rbActSubst");
        find(cbInHidden, "cbInHidden");
        find(cbMark, "cbMark");
        find(cbScale, "cbScale");
        find(sbScale, "sbScale");
        find(buttonBox, "buttonBox");
    }
    QLineEdit *txtFind, *txtReplace;
    QPushButton *btnFind, *btnReplace;
    QRadioButton *rbInMarked, *rbInAll, *rbActExact, *rbActPartial, *rbActSubst;
    QCheckBox *cbInHidden, *cbMark, *cbScale;
    QDoubleSpinBox* sbScale;
    QDialogButtonBox* buttonBox;
};

// What the user sets in the dialog. factor 0 leaves the scale box unchecked.
struct Input {
    const char* find;
    const char* replacement;
    int mode = ReplaceMode::Exact;
    bool marked = false;
    bool hidden = false;
    bool mark = false;
    double factor = 0.0;
};

class TextureReplaceTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        history = Map_OpHistory(world);
        MapHandle map = Map_Handle(world);
        EntityRecord* worldspawn = Map_OpWorldEntity(world);
        const float lo[3] = {2000, 0, 0}, hi[3] = {2064, 64, 64};
        wall = Test_Box(map, worldspawn, lo, hi, "base/Wall1");
        wall->firstFace->handle->setTextureName("WALL");
        upperWall = wall->firstFace->serial;
        const float lo2[3] = {2100, 0, 0}, hi2[3] = {2164, 64, 64};
        floor = Test_Box(map, worldspawn, lo2, hi2, "base/floor");
        // A 3 x 3 patch with scales 0.5 and 2, and an overlay with scales 1 and 0.25.
        patchBrush = Brush_Create(map, worldspawn);
        TextureInfo info = Test_TextureInfo("base/wall2");
        info.sScale = 0.5f;
        info.tScale = 2.0f;
        PatchRecord* patch = Patch_Create(patchBrush, &info, 3, 3);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) {
                patch->points[c][r].xyz[0] = 2200.0f + float(32 * c);
                patch->points[c][r].xyz[1] = float(32 * r);
                patch->points[c][r].s = float(c);
                patch->points[c][r].t = float(r);
            }
        patchBrush->handle->update(BrushUpdate::TessellatePatch);
        overlayBrush = Brush_Create(map, worldspawn);
        info = Test_TextureInfo("decal/wallmark");
        info.tScale = 0.25f;
        OverlayRecord* overlay = Overlay_Create(overlayBrush, &info);
        const float at[3] = {2032, 32, 64}, from[3] = {2032, 32, 200};
        overlay->handle->placeOnFace(at, from);
        const float lo3[3] = {2300, 0, 0}, hi3[3] = {2364, 64, 64};
        hiddenBrush = Test_Box(map, worldspawn, lo3, hi3, "base/wall1");
        hiddenBrush->flags |= BrushFlags::Hidden;
        const float origin[3] = {0, 0, 0};
        hiddenEntity = Test_Entity(map, "func_group", origin, 0);
        const float lo4[3] = {2400, 0, 0}, hi4[3] = {2464, 64, 64};
        hiddenEntityBrush = Test_Box(map, hiddenEntity, lo4, hi4, "base/wall1");
        hiddenEntity->flags |= EntityFlag::Hidden;
        Undo_Reset(history);
        Map_SelectNone(world);
        window->toolSelect();
    }

    std::string dump() const {
        return Map_DumpWorld(world, WorldDumpFlag::Serials | WorldDumpFlag::NoSelection).toStdString();
    }
    int levels() const {
        int n = 0;
        for (const UndoLevel* l = history->undoChain; l; l = l->next)
            ++n;
        return n;
    }
    std::string newest() const {
        const UndoLevel* level = Undo_NewestLevel(history);
        return level && level->name ? level->name : "";
    }
    // The first line in which two dumps differ (dumps are long).
    static std::string firstDiff(const std::string& a, const std::string& b) {
        size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        const size_t start = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
        return a.substr(start, a.find('\n', i) - start) + "  <>  " + b.substr(start, b.find('\n', i) - start);
    }
    Controls* form() {
        if (!controls) controls = std::make_unique<Controls>(window->textureReplaceDialog);
        return controls.get();
    }
    std::unique_ptr<Controls> controls;

    // The expected world: the setters applied under a level of their own, its dump, then undone.
    std::string twinDump(const std::function<void()>& change) {
        Undo_BeginLevel(history, "Twin");
        for (BrushRecord* b : {wall, floor, patchBrush, overlayBrush, hiddenBrush, hiddenEntityBrush})
            Undo_SaveBrush(history, b, UndoList::ChangedBrushes, true);
        change();
        Undo_EndLevel(history);
        const std::string expected = dump();
        EXPECT_TRUE(Undo_StepUndo(history));
        return expected;
    }

    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void setChecked(QAbstractButton* box, bool on) {
        if (box->isChecked() != on) click(box);
    }
    void fill(const Input& in) {
        Controls* f = form();
        typeInto(f->txtFind, QString::fromUtf8(in.find));
        setChecked(f->cbMark, in.mark);
        if (!in.mark) typeInto(f->txtReplace, QString::fromUtf8(in.replacement));
        if (in.marked)
            setChecked(f->rbInMarked, true);
        else
            setChecked(f->rbInAll, true);
        setChecked(f->cbInHidden, in.hidden);
        QRadioButton* modes[] = {f->rbActExact, f->rbActPartial, f->rbActSubst};
        setChecked(modes[in.mode], true);
        setChecked(f->cbScale, in.factor != 0.0);
        if (in.factor != 0.0) typeInto(f->sbScale, QString::number(in.factor));
    }
    // Tools → Replace textures.
    QAction* replaceCommand() const { return Window_Action(*window, "ToolsTexRepl"); }
    // Runs the Tools command with the input; OK pressed. The message box's text comes back.
    QString run(const Input& in) {
        cPromptScript script;
        cDialogAnswer answer([&](QDialog*) {
            fill(in);
            click(form()->buttonBox->button(QDialogButtonBox::Ok));
        });
        replaceCommand()->trigger();
        EXPECT_TRUE(answer.answered);
        return script.asked.isEmpty() ? QString() : script.asked.last().text;
    }

    static void rename(FaceRecord* face, const char* name) {
        face->handle->setTextureName(name);
        face->handle->update(FaceUpdate::TexCoords);
    }
    static void renameAll(BrushRecord* brush, const char* name) {
        for (FaceRecord* f = brush->firstFace; f; f = f->next)
            rename(f, name);
    }
    static void scaleFace(FaceRecord* face, float factor) {
        TextureInfo& t = face->texInfo;
        t.sScale *= factor;
        t.tScale *= factor;
        t.sShift /= factor;
        t.tShift /= factor;
        face->handle->update(FaceUpdate::TexCoords);
    }
    // A zero scale keeps its axis as it is.
    static void scalePatch(PatchRecord* p, float factor) {
        if (p->texInfo.sScale != 0.0f) p->handle->setTextureScale(0, p->texInfo.sScale * factor);
        if (p->texInfo.tScale != 0.0f) p->handle->setTextureScale(1, p->texInfo.tScale * factor);
        p->handle->update(0);
    }
    static void scaleOverlay(OverlayRecord* o, float factor) {
        Overlay_SetTextureScale(o, 0, o->texInfo.sScale * factor);
        Overlay_SetTextureScale(o, 1, o->texInfo.tScale * factor);
        o->handle->update(0);
    }
    // The wall's face named "WALL" (undo may rebuild the face list in another order).
    FaceRecord* upper() const {
        for (FaceRecord* f = wall->firstFace; f; f = f->next)
            if (f->serial == upperWall) return f;
        return nullptr;
    }
    std::vector<FaceRecord*> faces(BrushRecord* b) const {
        std::vector<FaceRecord*> out;
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            out.push_back(f);
        return out;
    }

    UndoHistory* history = nullptr;
    BrushRecord *wall = nullptr, *floor = nullptr, *patchBrush = nullptr, *overlayBrush = nullptr;
    BrushRecord *hiddenBrush = nullptr, *hiddenEntityBrush = nullptr;
    EntityRecord* hiddenEntity = nullptr;
    int32_t upperWall = 0;
};

TEST_F(TextureReplaceTest, ReplaceCasesMatchTheSettersAndUndoExactly) {
    const std::string long70(70, 'x');
    struct Case {
        const char* label;
        Input in;
        std::function<void()> prepare; // selection or state before the run
        int count;
        std::function<void()> twin;
    };
    const Case cases[] = {
        {"exact: WALL matches, base/Wall1 does not",
         {"wall", "sample/metal"},
         nullptr,
         1,
         [&] { rename(upper(), "sample/metal"); }},
        {"partial: the whole name becomes the record's own spelling",
         {"wall", "SAMPLE/METAL", ReplaceMode::Partial},
         nullptr,
         8,
         [&] {
             renameAll(wall, "sample/metal");
             patchBrush->patch->handle->setTexture("sample/metal");
             overlayBrush->overlay->handle->setTexture("sample/metal");
         }},
        {"substitute: base/Wall1 becomes base/brick1 everywhere, hidden objects too",
         {"wall", "brick", ReplaceMode::Substitute, false, true},
         nullptr,
         20,
         [&] {
             rename(upper(), "brick");
             for (FaceRecord* f : faces(wall))
                 if (f != upper()) rename(f, "base/brick1");
             renameAll(hiddenBrush, "base/brick1");
             renameAll(hiddenEntityBrush, "base/brick1");
             patchBrush->patch->handle->setTexture("base/brick2");
             overlayBrush->overlay->handle->setTexture("decal/brickmark");
         }},
        {"substitute: a replacement holding the find text is not searched again",
         {"wall", "wallwall", ReplaceMode::Substitute},
         nullptr,
         8,
         [&] {
             rename(upper(), "wallwall");
             for (FaceRecord* f : faces(wall))
                 if (f != upper()) rename(f, "base/wallwall1");
             patchBrush->patch->handle->setTexture("base/wallwall2");
             overlayBrush->overlay->handle->setTexture("decal/wallwallmark");
         }},
        {"substitute: a 70-character result is cut by the setter",
         {"base/floor", long70.c_str(), ReplaceMode::Substitute},
         nullptr,
         6,
         [&] { renameAll(floor, long70.c_str()); }},
        {"partial with factor 2: faces, patch points (its zero scale kept) and overlay corners",
         {"wall", "sample/metal", ReplaceMode::Partial, false, false, false, 2.0},
         [&] { patchBrush->patch->texInfo.sScale = 0.0f; },
         8,
         [&] {
             renameAll(wall, "sample/metal");
             for (FaceRecord* f : faces(wall))
                 scaleFace(f, 2.0f);
             patchBrush->patch->handle->setTexture("sample/metal");
             scalePatch(patchBrush->patch, 2.0f);
             overlayBrush->overlay->handle->setTexture("sample/metal");
             scaleOverlay(overlayBrush->overlay, 2.0f);
         }},
        {"marked, object mode: a selected brush's faces, not the unselected patch and overlay",
         {"wall", "sample/metal", ReplaceMode::Partial, true},
         [&] { Map_SelectObject(world, wall); },
         6,
         [&] { renameAll(wall, "sample/metal"); }},
        {"marked, selected patch brush: its patch only",
         {"wall", "sample/metal", ReplaceMode::Partial, true},
         [&] { Map_SelectObject(world, patchBrush); },
         1,
         [&] { patchBrush->patch->handle->setTexture("sample/metal"); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.label);
        Map_SelectNone(world);
        if (k.prepare) k.prepare();
        const std::string before = dump();
        const std::string expected = twinDump(k.twin);
        ASSERT_EQ(dump(), before);
        const int n = levels();
        const QString message = run(k.in);
        EXPECT_EQ(message, QStringLiteral("%1 textures replaced.").arg(k.count));
        const std::string after = dump();
        EXPECT_TRUE(after == expected) << firstDiff(after, expected);
        EXPECT_EQ(levels(), n + 1);
        EXPECT_EQ(newest(), "Replace Textures");
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_TRUE(dump() == before);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_TRUE(dump() == after);
        ASSERT_TRUE(Undo_StepUndo(history));
        patchBrush->patch->texInfo.sScale = 0.5f;
    }
}

TEST_F(TextureReplaceTest, MissesAndCancelsOpenNoLevelAndKeepTheRedoChain) {
    // A level to redo.
    twinDump([&] { rename(floor->firstFace, "base/other"); });
    ASSERT_NE(history->redoChain, nullptr);
    const std::string before = dump();
    const int n = levels();
    EXPECT_EQ(run({"nothing", "sample/metal"}), QStringLiteral("No textures replaced."));
    // A factor below 0.001 counts as 1: marking then opens no level either.
    EXPECT_EQ(run({"wall", nullptr, ReplaceMode::Exact, false, false, true, 0.0005}),
              QStringLiteral("1 objects marked."));
    {
        cDialogAnswer cancel([&](QDialog*) { typeInto(form()->txtFind, QStringLiteral("wall")); }, false);
        replaceCommand()->trigger();
        EXPECT_TRUE(cancel.answered);
    }
    EXPECT_EQ(levels(), n);
    EXPECT_NE(history->redoChain, nullptr);
    EXPECT_TRUE(dump() == before);
}

TEST_F(TextureReplaceTest, MarkSelectsFacesOrBrushesOnceAndRescalesUnderItsLevel) {
    const Input mark{"wall", nullptr, ReplaceMode::Partial, false, false, true};
    // Object mode: each brush once, whatever number of its faces match.
    const int n = levels();
    EXPECT_EQ(run(mark), QStringLiteral("3 objects marked."));
    EXPECT_EQ(levels(), n);
    EXPECT_EQ(world->selectedFaces, nullptr);
    int brushes = 0;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        ++brushes;
    EXPECT_EQ(brushes, 3);
    for (BrushRecord* b : {wall, patchBrush, overlayBrush})
        EXPECT_TRUE(b->flags & BrushFlags::Selected);

    // Face mode: the six faces and the patch and overlay brushes.
    window->toolTextureApplication();
    ASSERT_EQ(world->selectionMode, SelectionMode::Faces);
    EXPECT_EQ(run(mark), QStringLiteral("8 objects marked."));
    for (FaceRecord* f : faces(wall))
        EXPECT_TRUE(f->flags & FaceFlags::Selected);
    EXPECT_FALSE(wall->flags & BrushFlags::Selected);
    EXPECT_TRUE(patchBrush->flags & BrushFlags::Selected);

    // Face mode, marked scope: the selected face alone; with a factor, one level undone exactly.
    Map_SelectNone(world);
    Map_SelectObject(world, faces(wall)[2]);
    const std::string before = dump();
    const std::string expected = twinDump([&] { scaleFace(faces(wall)[2], 0.5f); });
    EXPECT_EQ(run({"wall", nullptr, ReplaceMode::Partial, true, false, true, 0.5}),
              QStringLiteral("1 objects marked."));
    EXPECT_TRUE(dump() == expected);
    EXPECT_EQ(newest(), "Rescale Textures");
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_TRUE(dump() == before);
}

TEST_F(TextureReplaceTest, InputCheckPreviewsAndTheFaceDialogsButton) {
    cTextureReplaceDialog* dialog = window->textureReplaceDialog;
    ASSERT_NE(dialog->findPreview(), nullptr);
    cDialogAnswer answer(
        [&](QDialog* d) {
            EXPECT_EQ(d, dialog);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Replace Textures"));
            EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(d->minimumSize(), d->maximumSize());
            Controls* f = form();
            // Started from the face dialog with its texture; nothing selected: scope "everything".
            EXPECT_EQ(f->txtFind->text(), QStringLiteral("sample/metal"));
            EXPECT_TRUE(dialog->findPreview()->isEnabled());
            EXPECT_FALSE(f->rbInMarked->isEnabled());
            EXPECT_TRUE(f->rbInAll->isChecked());
            QPushButton* ok = f->buttonBox->button(QDialogButtonBox::Ok);
            struct Row {
                const char* find;
                const char* replacement;
                bool mark;
                bool enabled;
            } rows[] = {{"wall", "wall", false, false},
                        {"wall", "WALL", false, true},
                        {"  ", "x", false, false},
                        {"wall", "  ", false, false},
                        {"wall", "", true, true}};
            for (const Row& r : rows) {
                setChecked(f->cbMark, false);
                typeInto(f->txtFind, QString::fromUtf8(r.find));
                f->txtReplace->clear();
                typeInto(f->txtReplace, QString::fromUtf8(r.replacement));
                setChecked(f->cbMark, r.mark);
                EXPECT_EQ(ok->isEnabled(), r.enabled) << r.find << "|" << r.replacement;
            }
            EXPECT_FALSE(f->btnReplace->isEnabled()); // marking
            setChecked(f->cbMark, false);
            // The replacement preview follows the typed text, upper-cased look-up included.
            typeInto(f->txtReplace, QStringLiteral("SAMPLE/GLASS"));
            EXPECT_TRUE(dialog->replacePreview()->isEnabled());
            typeInto(f->txtReplace, QStringLiteral("no/such"));
            EXPECT_FALSE(dialog->replacePreview()->isEnabled());
            EXPECT_FALSE(f->sbScale->isEnabled());
            click(f->cbScale);
            EXPECT_TRUE(f->sbScale->isEnabled());
            EXPECT_EQ(f->sbScale->decimals(), 4);
            EXPECT_EQ(f->sbScale->minimum(), 0.0001);
            EXPECT_EQ(f->sbScale->maximum(), 10.0);
            click(f->cbScale);
        },
        false);
    window->toolTextureApplication();
    window->faceDialog.setTextureSelection(true, false, QString(), QStringLiteral("sample/metal"));
    QTest::mouseClick(window->faceDialog.findChild<QPushButton*>(QStringLiteral("btnReplace")),
                      Qt::LeftButton);
    EXPECT_TRUE(answer.answered);
}

} // namespace
