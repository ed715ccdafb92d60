#include "dialogs/application/PreferencesDialog.h"

#include <QMdiArea>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <map>

#include "PreferencesFixture.h"
#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "mainwindow/SettingsFile.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

using PreferencesDialogTest = cPreferencesFixture;

// Every key of the settings file as text, "group/key" → value.
std::map<QString, QString> fileKeys(const QString& file) {
    QSettings settings(file, QSettings::IniFormat);
    std::map<QString, QString> keys;
    for (const QString& key : settings.allKeys())
        keys[key] = settings.value(key).toString();
    return keys;
}

TEST_F(PreferencesDialogTest, OpensOnGeneralFromTheMenuAndOnProfilesFromTheQuestion) {
    int shown = -1;
    QString title;
    {
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cPreferencesDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                shown = dialog->tabWidget->currentIndex();
                title = dialog->windowTitle();
            },
            false);
        window->cmdToolsOptions();
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(title, QStringLiteral("Configure Z.A.R.V."));
    // The map window active before stays active.
    EXPECT_EQ(window->activeChildWindow(), child);

    window->gameConfigs.configs.first()->Enabled = false;
    MapDocument document;
    cPromptScript script;
    script.answerButton(PromptButton::Yes);
    cDialogAnswer answer(
        [&](QDialog* d) { shown = qobject_cast<cPreferencesDialog*>(d)->tabWidget->currentIndex(); }, false);
    EXPECT_FALSE(Project_ChooseGameConfig(&document));
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(shown, 3);
    window->gameConfigs.configs.first()->Enabled = true;
}

// One row per control of the four settings pages: what the test does to it, the key it edits
// and the value the file then holds.
struct ControlCase {
    const char* control;
    std::function<void(QWidget*)> act;
    const char* key;
    const char* stored;
};

void toggle(QWidget* w) {
    clickButton(static_cast<QAbstractButton*>(w));
}
void toEnd(QWidget* w) {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_End);
}
void toHome(QWidget* w) {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Home);
}
std::function<void(QWidget*)> typed(const char* text) {
    return [text](QWidget* w) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Backspace);
        QTest::keyClicks(w, QString::fromLatin1(text));
        QTest::keyClick(w, Qt::Key_Tab);
    };
}

const ControlCase kControls[] = {
    {"cbIndependentWindows", toggle, "IndependentWindows", "true"},
    {"cbCreateDefaultWindows", toggle, "CreateDefaultWindows", "false"},
    {"sWorldSize", typed("10001"), "MaxWorldSize", "16384"},
    {"cbNoPrecache", toggle, "NoPrecache", "false"},
    {"cbTransformAngles", toggle, "TransformAngles", "false"},
    {"cbDontSnapPrimitivePoints", toggle, "DontSnapPrimitivePoints", "true"},
    {"cbStretchArches", toggle, "StretchArches", "false"},
    {"cbRestoreCutObjects", toggle, "RestoreCutObjects", "false"},
    {"cbPreciseModelSelection", toggle, "PreciseModelSelection", "false"},
    {"cbModelAltScale", toggle, "ModelAltScale", "false"},
    {"cbClearSelectionOnEscape", toggle, "Tools/ClearSelectionOnEscape", "true"},
    {"cbLargeToolIcons", toggle, "SmallToolIcons", "true"},
    {"cbLoadFromArchives", toggle, "LoadFromArchives", "false"},
    {"cbSnapOnMove", toggle, "SnapOnMove", "false"},
    {"cbKeepIntConnections", toggle, "KeepInternalConnections", "false"},
    {"sUndoLevels", typed("5"), "UndoLevels", "5"},
    {"slTextureQuality", toHome, "TextureQuality", "1"},
    {"cbCrosshairCursor", toggle, "View2D/CrosshairCursor", "false"},
    {"cbDefaultFixedDegreeRotation", toggle, "View2D/DefaultFixedDegreeRotation", "true"},
    {"sbFixedDegreeRotation", typed("180"), "View2D/FixedDegreeRotation", "180"},
    {"cbEnableScrollbars", toggle, "View2D/EnableScrollbars", "false"},
    {"cbDrawVertices", toggle, "View2D/DrawVertices", "false"},
    {"cbCenterOnCamera", toggle, "View2D/CenterOnCamera", "true"},
    {"cbUseVisgroupColors", toggle, "View2D/UseVisgroupColors", "false"},
    {"cbReorientPrimitives", toggle, "View2D/ReorientPrimitives", "true"},
    {"cbSelectAuto", toggle, "View2D/SelectAuto", "true"},
    {"cbSelectByHandles", toggle, "View2D/SelectByHandles", "true"},
    {"cbDrawCamera", toggle, "View2D/DrawCamera", "false"},
    {"cbKeepCloneVisGroup", toggle, "View2D/KeepCloneVisGroup", "true"},
    {"cbDrawSizingInfo", toggle, "View2D/DrawSizingInfo", "true"},
    {"cbDrawModels", toggle, "View2D/DrawModels", "false"},
    {"cbArrowKeyNudge", toggle, "View2D/ArrowKeyNudge", "false"},
    {"coGridSize", toEnd, "View2D/GridDefaultSize", "512"},
    {"cbHideSmallGrid", toggle, "View2D/HideSmallGrid", "false"},
    {"txtGridHighlight", typed("12"), "View2D/GridHighlightStep", "12"},
    {"cbGridHighlight", toggle, "View2D/GridHighlight", "false"},
    {"cbDottedGrid", toggle, "View2D/DottedGrid", "true"},
    {"slBackClip", toEnd, "View3D/BackClip", "50000"},
    {"cbTextureFilter", toggle, "View3D/TextureFilter", "0"},
    {"cbMultisample", toggle, "View3D/Antialiasing", "true"},
    {"cbTransparency", toggle, "View3D/Transparency", "false"},
    {"slModelRenderDistance", toEnd, "View3D/ModelRenderDistance", "8192"},
    {"cbAnimateModels", toggle, "View3D/AnimateModels", "false"},
    {"cbEnergySavingMode", toggle, "View3D/EnergySavingMode", "true"},
    {"cbAnimateTextures", toggle, "View3D/AnimateShaders", "true"},
    {"cbLimitFPS", toggle, "View3D/LimitFPS", "false"},
    {"cbMouselook", toggle, "View3D/Mouselook", "false"},
    {"cbMouseReverseY", toggle, "View3D/MouseReverseY", "true"},
    {"slSensitivity", toEnd, "View3D/Sensitivity", "50"},
    {"slForwardSpeed", toHome, "View3D/ForwardSpeed", "100"},
    {"slTimeToTopSpeed", toEnd, "View3D/TimeToTopSpeed", "10000"},
    {"cbTabletPenInput", toggle, "View3D/TabletPenInput", "true"},
    {"slCameraFOV", toHome, "View3D/CameraFOV", "30"},
    {"cbBackupFiles", toggle, "Autosave/BackupFiles", "false"},
    {"cbAutosaveEnable", toggle, "Autosave/AutosaveEnable", "true"},
    {"cbAutosaveOnChanges", toggle, "Autosave/AutosaveOnChanges", "false"},
    {"cbAutosaveToCurrentDir", toggle, "Autosave/AutosaveToCurrentDir", "false"},
    {"txtAutosaveDir", typed("/tmp/zarv-autosave"), "Autosave/AutosaveDir", "/tmp/zarv-autosave"},
    {"sAutosaveDelay", typed("600"), "Autosave/AutosaveDelay", "600"},
    {"sAutosaveLimit", typed("1000"), "Autosave/AutosaveLimit", "1000"},
    {"cbAutosaveBeep", toggle, "Autosave/AutosaveBeep", "false"},
    {"cbAutoUpdateCheck", toggle, "Updates/AutoUpdateCheck", "false"},
};

TEST_F(PreferencesDialogTest, EveryControlReachesTheWindowAndTheFile) {
    const QString file = window->resolveConfigFile(QStringLiteral("KDKSettings.ini"), true);
    window->settings.TextureQuality = 5;
    window->settings.TextureFilter = 2;
    ASSERT_TRUE(window->writeSettings());
    const std::map<QString, QString> before = fileKeys(file);

    auto dialog = openDialog();
    EXPECT_TRUE(dialog->cbTextureFilter->isChecked());
    for (const ControlCase& row : kControls) {
        auto* control = dialog->findChild<QWidget*>(QLatin1String(row.control));
        ASSERT_NE(control, nullptr) << row.control;
        reveal(control);
        ASSERT_TRUE(control->isEnabled()) << row.control;
        row.act(control);
    }
    cPromptScript script;
    press(dialog.get(), QDialogButtonBox::Ok);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(texts(script).join(QLatin1Char('|')).toStdString(),
              "Some changes you made will take effect upon restarting Z.A.R.V..");

    // The window holds them at once; some by their rules.
    EXPECT_TRUE(window->settings.SmallToolIcons);
    EXPECT_EQ(window->settings.TextureFilter, 0);
    EXPECT_EQ(window->settings.MaxWorldSize, 16384);
    EXPECT_EQ(window->settings.UndoLevels, 5);
    EXPECT_TRUE(window->settings.TextureCompression);
    EXPECT_TRUE(window->settings.HalfSizeTextures);
    EXPECT_EQ(window->settings.MinHalfSizeTextureDims, 64);

    ASSERT_TRUE(window->writeSettings());
    std::map<QString, QString> after = fileKeys(file);
    std::map<QString, QString> expected = before;
    for (const ControlCase& row : kControls)
        expected[QLatin1String(row.key)] = QLatin1String(row.stored);
    expected[QStringLiteral("TextureCompression")] = QStringLiteral("true");
    expected[QStringLiteral("HalfSizeTextures")] = QStringLiteral("true");
    expected[QStringLiteral("MinHalfSizeTextureDims")] = QStringLiteral("64");
    // The grid in use starts from the new default, the recent files stay.
    for (auto& [key, value] : after)
        if (!expected.count(key)) ADD_FAILURE() << "new key " << key.toStdString();
    for (const auto& [key, value] : expected)
        EXPECT_EQ(after[key], value) << key.toStdString();

    // The next start reads them back.
    MainSettings next;
    QStringList recent;
    QSettings reread(file, QSettings::IniFormat);
    Settings_Read(reread, next, recent);
    EXPECT_TRUE(next.SmallToolIcons);
    EXPECT_EQ(next.MaxWorldSize, 16384);
    EXPECT_EQ(next.AutosaveDir, QStringLiteral("/tmp/zarv-autosave"));
    EXPECT_EQ(next.CameraFOV, 30);
}

TEST_F(PreferencesDialogTest, CancelEscapeAndCloseStoreNothingApplyStays) {
    const QString file = window->resolveConfigFile(QStringLiteral("KDKSettings.ini"), true);
    ASSERT_TRUE(window->writeSettings());
    const QByteArray before = readFile(file.mid(folder.path().size() + 1));
    const MainSettings saved = window->settings;
    const std::function<void(cPreferencesDialog*)> closers[] = {
        [](cPreferencesDialog* d) { press(d, QDialogButtonBox::Cancel); },
        [](cPreferencesDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
        [](cPreferencesDialog* d) { d->close(); },
    };
    for (const auto& close : closers) {
        auto dialog = openDialog();
        click(dialog->cbNoPrecache);
        reveal(dialog->cbDrawVertices);
        click(dialog->cbDrawVertices);
        close(dialog.get());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(window->settings.NoPrecache, saved.NoPrecache);
        EXPECT_EQ(window->settings.DrawVertices, saved.DrawVertices);
    }
    ASSERT_TRUE(window->writeSettings());
    EXPECT_EQ(readFile(file.mid(folder.path().size() + 1)), before);

    // Apply stores and keeps the dialog open; Cancel afterwards keeps it; OK then has no restart.
    auto dialog = openDialog();
    click(dialog->cbLoadFromArchives);
    cPromptScript script;
    press(dialog.get(), QDialogButtonBox::Apply);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(window->settings.LoadFromArchives, !saved.LoadFromArchives);
    press(dialog.get(), QDialogButtonBox::Ok);
    EXPECT_TRUE(script.asked.isEmpty());
    auto again = openDialog();
    click(again->cbLoadFromArchives);
    press(again.get(), QDialogButtonBox::Apply);
    press(again.get(), QDialogButtonBox::Cancel);
    EXPECT_EQ(window->settings.LoadFromArchives, saved.LoadFromArchives);
}

TEST_F(PreferencesDialogTest, RulesOfTheControls) {
    window->settings.IndependentWindows = false;
    window->settings.GridHighlight = false;
    window->settings.AutosaveEnable = false;
    window->settings.AutosaveToCurrentDir = true;
    window->settings.GridDefaultSize = 48; // not listed
    auto dialog = openDialog();
    EXPECT_FALSE(dialog->cbCreateDefaultWindows->isEnabled());
    EXPECT_FALSE(dialog->txtGridHighlight->isEnabled());
    EXPECT_FALSE(dialog->groupBox_8->isEnabled());
    EXPECT_FALSE(dialog->txtAutosaveDir->isEnabled());
    click(dialog->cbIndependentWindows);
    EXPECT_TRUE(dialog->cbCreateDefaultWindows->isEnabled());
    reveal(dialog->cbAutosaveEnable);
    click(dialog->cbAutosaveEnable);
    click(dialog->cbAutosaveToCurrentDir);
    EXPECT_TRUE(dialog->txtAutosaveDir->isEnabled());
    EXPECT_EQ(dialog->coGridSize->currentIndex(), -1);

    // World size: the next power of two, then the arrows double and halve within the range.
    reveal(dialog->sWorldSize);
    typed("10000")(dialog->sWorldSize);
    EXPECT_EQ(dialog->sWorldSize->value(), 16384);
    dialog->sWorldSize->setFocus();
    QTest::keyClick(dialog->sWorldSize, Qt::Key_Up);
    EXPECT_EQ(dialog->sWorldSize->value(), 32768);
    QTest::keyClick(dialog->sWorldSize, Qt::Key_Down);
    QTest::keyClick(dialog->sWorldSize, Qt::Key_Down);
    EXPECT_EQ(dialog->sWorldSize->value(), 8192);
    QTest::keyClick(dialog->sWorldSize, Qt::Key_Down);
    EXPECT_EQ(dialog->sWorldSize->value(), 8192);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(dialog->sWorldSize, Qt::Key_Up);
    EXPECT_EQ(dialog->sWorldSize->value(), 262144);

    // The time in seconds.
    reveal(dialog->slTimeToTopSpeed);
    for (const auto& [ms, text] : {std::pair{0, "0.00"}, std::pair{500, "0.50"}, std::pair{10000, "10.00"}}) {
        dialog->slTimeToTopSpeed->setFocus();
        QTest::keyClick(dialog->slTimeToTopSpeed, Qt::Key_Home);
        for (int i = 0; i < ms / 10; ++i)
            QTest::keyClick(dialog->slTimeToTopSpeed, Qt::Key_Right);
        EXPECT_EQ(dialog->txtTimeToTopSpeed->text(), QLatin1String(text));
    }

    // The grid highlight takes only whole numbers from 1; an empty field and an unlisted size keep
    // the stored values.
    reveal(dialog->cbGridHighlight);
    click(dialog->cbGridHighlight);
    typed("0x")(dialog->txtGridHighlight);
    EXPECT_FALSE(dialog->txtGridHighlight->hasAcceptableInput());
    press(dialog.get(), QDialogButtonBox::Apply);
    EXPECT_EQ(window->settings.GridHighlightStep, 8);
    EXPECT_EQ(window->settings.GridDefaultSize, 48);
}

TEST_F(PreferencesDialogTest, RestartNoticeOnlyForItsSettings) {
    struct Case {
        const char* control;
        bool before;
        bool restart;
    };
    for (const Case& c : {Case{"cbMultisample", false, true}, Case{"cbMultisample", true, false},
                          Case{"cbDrawModels", true, false}}) {
        window->settings.Antialiasing = c.before;
        window->settings.DrawModels = true;
        auto dialog = openDialog();
        auto* box = dialog->findChild<QAbstractButton*>(QLatin1String(c.control));
        reveal(box);
        click(box);
        cPromptScript script;
        press(dialog.get(), QDialogButtonBox::Ok);
        EXPECT_EQ(script.asked.size(), c.restart ? 1 : 0) << c.control << c.before;
    }
    // Texture quality left where it was changes none of the derived settings; a filter of 2 shows
    // checked and is stored as 1.
    window->settings.TextureQuality = 4;
    window->settings.TextureCompression = true;
    window->settings.TextureFilter = 2;
    auto dialog = openDialog();
    EXPECT_TRUE(dialog->cbTextureFilter->isChecked());
    cPromptScript script;
    press(dialog.get(), QDialogButtonBox::Ok);
    EXPECT_TRUE(window->settings.TextureCompression);
    EXPECT_EQ(window->settings.TextureFilter, 1);
    EXPECT_TRUE(script.asked.isEmpty());
    // Moving the quality to 3 derives its three settings and asks for the restart.
    auto third = openDialog();
    third->slTextureQuality->setFocus();
    QTest::keyClick(third->slTextureQuality, Qt::Key_Left);
    cPromptScript restart;
    press(third.get(), QDialogButtonBox::Ok);
    EXPECT_EQ(window->settings.TextureQuality, 3);
    EXPECT_FALSE(window->settings.TextureCompression);
    EXPECT_TRUE(window->settings.HalfSizeTextures);
    EXPECT_EQ(window->settings.MinHalfSizeTextureDims, 64);
    EXPECT_EQ(restart.asked.size(), 1);
}

TEST_F(PreferencesDialogTest, CommitRefreshesOpenMaps) {
    // A second map (the same file again would only raise the open one).
    ASSERT_TRUE(QFile::copy(samplePath(), path("second.map")));
    ASSERT_NE(window->openFile(path("second.map")), nullptr);
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    ASSERT_EQ(window->documents.size(), 2);
    QList<QByteArray> dumps;
    for (MapDocument* document : std::as_const(window->documents))
        dumps.append(Map_DumpWorld(document->world));
    window->settings.AutosaveEnable = true;

    auto dialog = openDialog();
    reveal(dialog->sWorldSize);
    typed("16384")(dialog->sWorldSize);
    typed("20")(dialog->sUndoLevels);
    reveal(dialog->cbEnableScrollbars);
    click(dialog->cbEnableScrollbars);
    click(dialog->cbSelectAuto);
    reveal(dialog->slCameraFOV);
    dialog->slCameraFOV->setFocus();
    QTest::keyClick(dialog->slCameraFOV, Qt::Key_Home);
    QTest::keyClick(dialog->slCameraFOV, Qt::Key_PageUp);
    QTest::keyClick(dialog->slCameraFOV, Qt::Key_PageUp);
    QTest::keyClick(dialog->slCameraFOV, Qt::Key_PageUp);
    reveal(dialog->sAutosaveDelay);
    typed("7")(dialog->sAutosaveDelay);
    for (MapDocument* document : std::as_const(window->documents))
        Undo_AllocLevels(document->undo);
    press(dialog.get(), QDialogButtonBox::Apply);

    for (MapDocument* document : std::as_const(window->documents)) {
        const CullTree* tree = Cull_TreeOf(document->world);
        ASSERT_NE(tree, nullptr);
        ASSERT_NE(tree->root, nullptr);
        EXPECT_FLOAT_EQ(tree->root->maxs[0], 8192.0f);
        EXPECT_FLOAT_EQ(tree->root->mins[2], -8192.0f);
        EXPECT_EQ(document->undo->levelCount, 20);
        EXPECT_EQ(document->undo->levels, nullptr);
        for (cChildWindow* mapWindow : document->windows)
            for (cCanvas* view : mapWindow->views) {
                if (view->is3D())
                    EXPECT_FLOAT_EQ(view->fovH, 60.0f);
                else if (view->hScroll)
                    EXPECT_FALSE(view->hScroll->isVisibleTo(mapWindow));
            }
    }
    const QAction* selA = Window_Action(*window, "EditSelA");
    ASSERT_NE(selA, nullptr);
    EXPECT_TRUE(selA->isChecked());
    EXPECT_TRUE(window->autosaveTimer->isActive());
    EXPECT_EQ(window->autosaveTimer->interval(), 7 * 60000);
    for (qsizetype i = 0; i < window->documents.size(); ++i)
        EXPECT_EQ(Map_DumpWorld(window->documents[i]->world), dumps[i]);

    // Raising the levels empties the histories again.
    for (MapDocument* document : std::as_const(window->documents))
        Undo_AllocLevels(document->undo);
    typed("50")(dialog->sUndoLevels);
    press(dialog.get(), QDialogButtonBox::Ok);
    for (MapDocument* document : std::as_const(window->documents)) {
        EXPECT_EQ(document->undo->levelCount, 50);
        EXPECT_EQ(document->undo->levels, nullptr);
    }
}

TEST_F(PreferencesDialogTest, GamePathsRelativeToTheGameRoot) {
    QDir().mkpath(path("Games/Q3/baseq3"));
    auto dialog = openDialog(3);
    const QString root = QFileInfo(path("Games/Q3")).canonicalFilePath();
    dialog->txtGameBasedir->setText(root + QStringLiteral("/baseq3"));
    struct Case {
        QString in, relative, absolute;
    };
    const Case cases[] = {
        {root.toLower() + QStringLiteral("/baseq3/x.pal"), QStringLiteral("baseq3/x.pal"), {}},
        {root + QStringLiteral("A/x.pal"), {}, {}},
        {QString(root).replace(QLatin1Char('/'), QLatin1Char('\\')) + QStringLiteral("\\x.pal"),
         {},
         root + QStringLiteral("/") + QString(root).replace(QLatin1Char('/'), QLatin1Char('\\')) +
             QStringLiteral("\\x.pal")},
        {QStringLiteral("baseq3/x.pal"), {}, root + QStringLiteral("/baseq3/x.pal")},
        {QStringLiteral("D:/x.pal"), {}, {}},
        {QStringLiteral("/x.pal"), {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dialog->relativeGamePath(c.in), c.relative.isNull() ? c.in : c.relative)
            << c.in.toStdString();
        EXPECT_EQ(dialog->absoluteGamePath(c.in), c.absolute.isNull() ? c.in : c.absolute)
            << c.in.toStdString();
    }
    dialog->txtGameBasedir->setText(path("Games/None/baseq3"));
    EXPECT_EQ(dialog->relativeGamePath(root + QStringLiteral("/baseq3/x.pal")),
              root + QStringLiteral("/baseq3/x.pal"));
}

} // namespace
