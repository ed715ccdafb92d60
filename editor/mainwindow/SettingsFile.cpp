// The settings file: key table, reader and writer, and the main window's three operations.
#include "mainwindow/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QSignalBlocker>
#include <QTemporaryFile>
#include <algorithm>
#include <charconv>
#include <climits>
#include <unistd.h>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "core/TempBuffer.h"
#include "mainwindow/MainWindow.h"
#include "render/ColorScheme.h"

namespace {

using S = MainSettings;
using F = SettingForm;
constexpr uint8_t kPositive = SettingFlag::Positive;
constexpr uint8_t kReadLast = SettingFlag::ReadLast;
constexpr uint8_t kAlways = SettingFlag::AlwaysRead;

#define KEY(group, name, ...)                                                                                \
    SettingKey {                                                                                             \
        group, #name, &S::name, __VA_ARGS__                                                                  \
    }

const SettingKey kKeys[] = {
    KEY("", IndependentWindows, F::Plain, 0),
    KEY("", CreateDefaultWindows, F::Plain, 0),
    KEY("", AutoActivateWindows, F::Plain, 0),
    KEY("", NoPrecache, F::Plain, 0),
    KEY("", LoadFromArchives, F::Plain, 0),
    KEY("", UseCullTree, F::Plain, 0),
    KEY("", DrawCullTree, F::Plain, 0),
    KEY("", TransformAngles, F::Plain, 0),
    KEY("", DontSnapPrimitivePoints, F::Plain, 0),
    KEY("", StretchArches, F::Plain, 0),
    KEY("", RestoreCutObjects, F::Plain, 0),
    KEY("", KeepInternalConnections, F::Plain, 0),
    KEY("", PreciseModelSelection, F::Plain, 0),
    KEY("", ModelAltScale, F::Plain, 0),
    KEY("", SmallToolIcons, F::Plain, 0),
    KEY("", SkipFitDialog, F::Plain, 0),
    KEY("", SkipDefaultRoomDialog, F::Plain, 0),
    KEY("", HalfSizeTextures, F::Plain, 0),
    KEY("", MinHalfSizeTextureDims, F::Plain, 0),
    KEY("", TextureCompression, F::Plain, 0),
    KEY("", TextureNPOT, F::Plain, 0),
    KEY("", AutoMipmaps, F::Plain, 0),
    KEY("", AnisotropicFilter, F::Plain, 0),
    KEY("", NoPolyOffset, F::Plain, 0),
    KEY("", TextureQuality, F::Plain, 0),
    KEY("", UndoEnabled, F::Plain, 0),
    KEY("", UndoLevels, F::Plain, 0),
    KEY("", MaxWorldSize, F::Plain, kPositive),
    KEY("", SelectionBulletSize, F::Plain, 0),
    KEY("", VertexToolBulletSize, F::Plain, 0),
    KEY("", MapVertexRoundEps, F::FixedText, 0),
    KEY("", SnapOnMove, F::Plain, 0),
    KEY("", SkipAdvertisement, F::Plain, 0),
    KEY("", DefaultSmartEdit, F::Plain, 0),
    KEY("", KeepDefaultEpairs, F::Plain, 0),
    KEY("", CurrentColorScheme, F::Plain, 0),

    KEY("RecentFiles", RecentMapDirectory, F::Plain, kAlways),
    KEY("RecentFiles", RecentExportDirectory, F::Plain, kAlways),
    KEY("RecentFiles", RecentOpenFilter, F::Plain, kAlways),
    KEY("RecentFiles", RecentSaveFilter, F::Plain, kAlways),
    KEY("RecentFiles", RecentExportFilter, F::Plain, kAlways),

    KEY("View2D", CrosshairCursor, F::Plain, 0),
    KEY("View2D", DefaultFixedDegreeRotation, F::Plain, 0),
    KEY("View2D", FixedDegreeRotation, F::Plain, kPositive),
    KEY("View2D", EnableScrollbars, F::Plain, 0),
    KEY("View2D", DrawVertices, F::Plain, 0),
    KEY("View2D", DrawModels, F::Plain, 0),
    KEY("View2D", DrawCamera, F::Plain, 0),
    KEY("View2D", FastCamera, F::Plain, 0),
    KEY("View2D", DrawSizingInfo, F::Plain, 0),
    KEY("View2D", ClipSizingInfo, F::Plain, 0),
    KEY("View2D", CenterOnCamera, F::Plain, 0),
    KEY("View2D", UseVisgroupColors, F::Plain, 0),
    KEY("View2D", ArrowKeyNudge, F::Plain, 0),
    KEY("View2D", ReorientPrimitives, F::Plain, 0),
    KEY("View2D", SelectAuto, F::Plain, 0),
    KEY("View2D", SelectByHandles, F::Plain, 0),
    KEY("View2D", SelectCurves, F::Plain, 0),
    KEY("View2D", SelectMouseMove, F::Plain, 0),
    KEY("View2D", KeepCloneVisGroup, F::Plain, 0),
    KEY("View2D", GridDefaultSize, F::Plain, kPositive),
    KEY("View2D", GridHighlightStep, F::Plain, kPositive),
    KEY("View2D", GridHighlight, F::Plain, 0),
    KEY("View2D", HideSmallGrid, F::Plain, 0),
    KEY("View2D", DottedGrid, F::Plain, 0),

    KEY("View3D", BackClip, F::Plain, 0),
    KEY("View3D", Sensitivity, F::Plain, 0),
    KEY("View3D", TextureFilter, F::Plain, 0),
    KEY("View3D", Antialiasing, F::Plain, 0),
    KEY("View3D", Transparency, F::Plain, 0),
    KEY("View3D", TransparentSort, F::Plain, 0),
    KEY("View3D", AnimateModels, F::Plain, 0),
    KEY("View3D", AnimateShaders, F::Plain, 0),
    KEY("View3D", DrawSky, F::Plain, 0),
    KEY("View3D", ModelRenderDistance, F::Plain, 0),
    KEY("View3D", EnergySavingMode, F::Plain, 0),
    KEY("View3D", LimitFPS, F::Plain, 0),
    KEY("View3D", Mouselook, F::Plain, 0),
    KEY("View3D", MouseReverseY, F::Plain, 0),
    KEY("View3D", TabletPenInput, F::Plain, 0),
    KEY("View3D", ForwardSpeed, F::Plain, 0),
    KEY("View3D", TimeToTopSpeed, F::Plain, 0),
    KEY("View3D", CameraFOV, F::Plain, 0),
    KEY("View3D", AlphaBuffer, F::Plain, 0),
    KEY("View3D", MinAlphaValue, F::Byte, 0),

    KEY("Map", IgnoreMapExportInfo, F::Plain, kReadLast),
    KEY("Map", EnableGrid2D, F::Plain, 0),
    KEY("Map", EnableGrid3D, F::Plain, 0),
    KEY("Map", SnapToGrid, F::Plain, 0),

    KEY("View", ShowConnections, F::Plain, 0),
    KEY("View", DrawNoDraw, F::Plain, 0),
    KEY("View", DrawHint, F::Plain, 0),
    KEY("View", DrawClip, F::Plain, 0),
    KEY("View", DrawTrigger, F::Plain, 0),
    KEY("View", TextureTransparency, F::Plain, 0),
    KEY("View", EntityTransparency, F::Plain, 0),
    KEY("View", HideMask, F::Plain, 0),
    KEY("View", CanvasConfig, F::Plain, 0),
    KEY("View", EnableGridUV, F::Plain, 0),
    KEY("View", DistanceGridUV, F::IntAsFloat, 0),
    KEY("View", SelOverlaySkipDepth, F::Plain, 0),

    KEY("Compiler", ExpertMode, F::Plain, 0),
    KEY("Compiler", EnableCordon, F::Plain, 0),

    KEY("Autosave", BackupFiles, F::Plain, 0),
    KEY("Autosave", AutosaveEnable, F::Plain, 0),
    KEY("Autosave", AutosaveOnChanges, F::Plain, 0),
    KEY("Autosave", AutosaveBeep, F::Plain, 0),
    KEY("Autosave", AutosaveToCurrentDir, F::Plain, 0),
    KEY("Autosave", AutosaveDelay, F::Plain, 0),
    KEY("Autosave", AutosaveLimit, F::Plain, 0),
    KEY("Autosave", AutosaveDir, F::Plain, 0),

    KEY("Updates", AutoUpdateCheck, F::Plain, 0),
    KEY("Updates", Server, F::Plain, 0),

    KEY("Tools", TextureLock, F::Plain, 0),
    KEY("Tools", TextureLockScale, F::Plain, 0),
    KEY("Tools", TextureLockUV, F::Plain, 0),
    KEY("Tools", TextureFaceAlign, F::Plain, 0),
    KEY("Tools", IgnoreGroups, F::Plain, 0),
    KEY("Tools", VertexToolRestrict, F::Plain, 0),
    KEY("Tools", VertexToolCoplanarMerge, F::Plain, 0),
    KEY("Tools", ClearSelectionOnEscape, F::Plain, 0),
    KEY("Tools", KeepHideMask, F::Plain, 0),
    KEY("Tools", HideIncompleteShaders, F::Plain, 0),
    KEY("Tools", TextureBrowserAnimate, F::Plain, 0),
    KEY("Tools", TextureBrowserScaleMode, F::Plain, 0),

    KEY("EntityReport", Type, F::Plain, 0),
    KEY("EntityReport", bClass, F::Plain, 0),
    KEY("EntityReport", bExact, F::Plain, 0),
    KEY("EntityReport", bHidden, F::Plain, 0),
    KEY("EntityReport", bKVD, F::Plain, 0),
    KEY("EntityReport", ClassFilter, F::Plain, 0),
    KEY("EntityReport", KeyFilter, F::Plain, 0),
    KEY("EntityReport", ValueFilter, F::Plain, 0),

    KEY("PasteSpecial", NumCopies, F::Plain, 0),
    KEY("PasteSpecial", PasteFlags, F::Plain, 0),
    KEY("PasteSpecial", OffsetX, F::Plain, 0),
    KEY("PasteSpecial", OffsetY, F::Plain, 0),
    KEY("PasteSpecial", OffsetZ, F::Plain, 0),
    KEY("PasteSpecial", RotationX, F::Plain, 0),
    KEY("PasteSpecial", RotationY, F::Plain, 0),
    KEY("PasteSpecial", RotationZ, F::Plain, 0),
};
#undef KEY

constexpr const char* kRecentGroup = "RecentFiles";

template <int Bit> bool hideBit(const S& s) {
    return (s.HideMask >> Bit) & 1;
}

const SettingAction kActions[] = {
    {"EditSelH", [](const S& s) { return s.SelectByHandles; }},
    {"EditSelA", [](const S& s) { return s.SelectAuto; }},
    {"EditSelM", [](const S& s) { return s.SelectMouseMove; }},
    {"CurveSelect", [](const S& s) { return !s.SelectCurves; }},
    {"MapGrid", [](const S& s) { return s.EnableGrid2D; }},
    {"MapGrid3D", [](const S& s) { return s.EnableGrid3D; }},
    {"MapSnap", [](const S& s) { return s.SnapToGrid; }},
    {"ViewGridUV", [](const S& s) { return s.EnableGridUV; }},
    {"ViewConn", [](const S& s) { return s.ShowConnections; }},
    {"ViewMod2D", [](const S& s) { return s.DrawModels; }},
    {"ViewNodraw", [](const S& s) { return s.DrawNoDraw; }},
    {"ViewHint", [](const S& s) { return s.DrawHint; }},
    {"ViewClip", [](const S& s) { return s.DrawClip; }},
    {"ViewTrigger", [](const S& s) { return s.DrawTrigger; }},
    {"ViewAnim", [](const S& s) { return s.AnimateShaders; }},
    {"ViewSky", [](const S& s) { return s.DrawSky; }},
    {"ViewTexTrans", [](const S& s) { return s.TextureTransparency; }},
    {"ViewEntTrans", [](const S& s) { return s.EntityTransparency; }},
    {"ViewItems", hideBit<0>},
    {"ViewPaths", hideBit<1>},
    {"ViewCurves", hideBit<5>},
    {"ViewDetail", hideBit<2>},
    {"ViewEntNames", hideBit<4>},
    {"ViewUnknown", hideBit<6>},
    {"ToolsIG", [](const S& s) { return s.IgnoreGroups; }},
    {"ToolsTexLock", [](const S& s) { return s.TextureLock; }},
    {"ToolsTexLockScale", [](const S& s) { return s.TextureLockScale; }},
    {"ToolsTexLockUV", [](const S& s) { return s.TextureLockUV; }},
    {"ToolsVertexRes", [](const S& s) { return !s.VertexToolRestrict; }},
    {"ToolsVertexCM", [](const S& s) { return s.VertexToolCoplanarMerge; }},
    {"ToolsTexAlign", [](const S& s) { return s.TextureFaceAlign; }},
    {"ToolsCordon", [](const S& s) { return s.EnableCordon; }},
};

QString qualified(const SettingKey& key) {
    return key.group[0] ? QStringLiteral("[%1] %2").arg(QLatin1String(key.group), QLatin1String(key.key))
                        : QLatin1String(key.key);
}

// The value as text; an unquoted value with commas comes back from the settings class as a list.
QString valueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void warnValue(const SettingKey& key, const QString& text, const char* why) {
    Sys_Warning("KDKSettings.ini: %s = \"%s\" %s; the default stays",
                Text_ToWindows1251(qualified(key)).constData(), Text_ToWindows1251(text).constData(), why);
}

bool parseBool(const QString& text, bool* ok) {
    const QString t = text.trimmed().toLower();
    *ok = t == QLatin1String("true") || t == QLatin1String("false") || t == QLatin1String("1") ||
          t == QLatin1String("0");
    return t == QLatin1String("true") || t == QLatin1String("1");
}

void readKey(QSettings& file, const SettingKey& key, S& s) {
    const QString name = QLatin1String(key.key);
    const bool present = file.contains(name);
    if (!present && !(key.flags & SettingFlag::AlwaysRead)) return;
    const QString text = present ? valueText(file.value(name)) : QString();
    bool ok = true;
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, bool>) {
                const bool v = parseBool(text, &ok);
                if (ok) s.*member = v;
            } else if constexpr (std::is_same_v<T, int32_t>) {
                const int32_t v = text.trimmed().toInt(&ok);
                if (!ok) return;
                if ((key.flags & SettingFlag::Positive) && v <= 0) {
                    warnValue(key, text, "must be above 0");
                    ok = true; // reported already
                    return;
                }
                s.*member = v;
            } else if constexpr (std::is_same_v<T, float>) {
                if (key.form == SettingForm::Byte || key.form == SettingForm::IntAsFloat) {
                    const int32_t v = text.trimmed().toInt(&ok);
                    if (!ok) return;
                    s.*member = key.form == SettingForm::Byte ? static_cast<float>(v) / 255.0f
                                                              : static_cast<float>(v);
                } else {
                    const float v = text.trimmed().toFloat(&ok);
                    if (ok) s.*member = v;
                }
            } else {
                s.*member = text;
            }
        },
        key.member);
    if (!ok) warnValue(key, text, "is not a valid value");
}

QVariant writtenValue(const SettingKey& key, const S& s) {
    return std::visit(
        [&](auto member) -> QVariant {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, float>) {
                const float v = s.*member;
                switch (key.form) {
                case SettingForm::FixedText:
                    return QString::number(v, 'f', 8);
                case SettingForm::Byte:
                    return static_cast<int32_t>(v * 255.0f);
                case SettingForm::IntAsFloat:
                    return static_cast<int32_t>(v);
                case SettingForm::Plain:
                    break;
                }
                // As the shortest text that reads back the same float (the settings class would
                // store a float as an opaque variant).
                char text[32];
                const auto end = std::to_chars(text, text + sizeof text, v).ptr;
                return QString::fromLatin1(text, end - text);
            } else {
                return QVariant::fromValue(s.*member);
            }
        },
        key.member);
}

// Runs fn over the groups in table order, with the file inside each group.
template <typename Fn> void forEachGroup(QSettings& file, Fn fn) {
    size_t i = 0;
    const size_t n = std::size(kKeys);
    while (i < n) {
        size_t end = i;
        while (end < n && qstrcmp(kKeys[end].group, kKeys[i].group) == 0)
            ++end;
        const bool top = kKeys[i].group[0] == 0;
        if (!top) file.beginGroup(QLatin1String(kKeys[i].group));
        fn(std::span<const SettingKey>(kKeys + i, end - i));
        if (!top) file.endGroup();
        i = end;
    }
}

} // namespace

std::span<const SettingKey> Settings_KeyTable() {
    return kKeys;
}

std::span<const SettingAction> Settings_ActionTable() {
    return kActions;
}

void Settings_Read(QSettings& file, MainSettings& s, QStringList& recentFiles) {
    forEachGroup(file, [&](std::span<const SettingKey> keys) {
        for (const SettingKey& key : keys)
            if (!(key.flags & SettingFlag::ReadLast)) readKey(file, key, s);
        for (const SettingKey& key : keys)
            if (key.flags & SettingFlag::ReadLast) readKey(file, key, s);
        if (qstrcmp(keys.front().group, kRecentGroup) == 0) {
            recentFiles.clear();
            for (int32_t i = 1; i <= kRecentFileKeys; ++i) {
                const QString path = valueText(file.value(QStringLiteral("RecentFile%1").arg(i)));
                if (!path.isEmpty()) recentFiles.append(path);
            }
        }
    });
    s.CurrentGridSize = s.GridDefaultSize;
}

void Settings_Write(QSettings& file, const MainSettings& s, const QStringList& recentFiles) {
    forEachGroup(file, [&](std::span<const SettingKey> keys) {
        for (const SettingKey& key : keys)
            file.setValue(QLatin1String(key.key), writtenValue(key, s));
        if (qstrcmp(keys.front().group, kRecentGroup) == 0) {
            const int32_t count = std::min<int32_t>(recentFiles.size(), kRecentFileKeys);
            for (int32_t i = 1; i <= kRecentFileKeys; ++i) {
                const QString name = QStringLiteral("RecentFile%1").arg(i);
                // Keys past the list would read back as stale entries on the next start.
                if (i <= count)
                    file.setValue(name, recentFiles[i - 1]);
                else
                    file.remove(name);
            }
        }
    });
}

namespace {

// Whether the settings class reads the line as it stands: blank, a comment, a whole section
// header or a key with its value.
bool wellFormedLine(const QByteArray& line) {
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) return true;
    if (line.contains('\0')) return false;
    if (line.startsWith('[')) return line.endsWith(']');
    return line.contains('=') && !line.startsWith('=');
}

} // namespace

QByteArray Settings_WithoutMalformedLines(const QByteArray& text, QList<int32_t>* malformed) {
    QByteArray kept;
    kept.reserve(text.size());
    int32_t lineNumber = 0;
    bool continued = false; // the line before ended in a backslash: this one belongs to its value
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf('\n', at);
        end = end < 0 ? text.size() : end + 1;
        const QByteArray line = text.mid(at, end - at);
        at = end;
        ++lineNumber;
        const QByteArray trimmed = line.trimmed();
        if ((continued && !trimmed.contains('\0')) || wellFormedLine(trimmed))
            kept += line;
        else if (malformed)
            malformed->append(lineNumber);
        continued = trimmed.endsWith('\\') && (continued || wellFormedLine(trimmed));
    }
    return kept;
}

int32_t Settings_ReportMalformedLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    QList<int32_t> malformed;
    Settings_WithoutMalformedLines(file.readAll(), &malformed);
    constexpr qsizetype kMaxReports = 20;
    for (qsizetype i = 0; i < malformed.size() && i < kMaxReports; ++i)
        Sys_Warning("%s:%d: malformed line ignored", Text_ToWindows1251(path).constData(), malformed[i]);
    if (malformed.size() > kMaxReports)
        Sys_Warning("%s: %d more malformed lines ignored", Text_ToWindows1251(path).constData(),
                    int(malformed.size() - kMaxReports));
    return int32_t(malformed.size());
}

bool Settings_DropMalformedLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return true;
    const QByteArray text = file.readAll();
    file.close();
    QList<int32_t> malformed;
    const QByteArray kept = Settings_WithoutMalformedLines(text, &malformed);
    if (malformed.isEmpty()) return true;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(kept) == kept.size() && out.commit();
}

int32_t Settings_TextureQualityForMemory(uint64_t mb) {
    if (mb < 128) return 1;
    if (mb < 256) return 2;
    if (mb < 512) return 3;
    if (mb < 1024) return 4;
    return 5;
}

uint64_t Sys_PhysicalMemoryMB() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return (static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize)) >> 20;
}

int32_t Settings_AutosaveIntervalMs(int32_t delayMinutes) {
    const int64_t ms = static_cast<int64_t>(std::max(delayMinutes, 1)) * 60000;
    return static_cast<int32_t>(std::min<int64_t>(ms, INT_MAX));
}

// ---- The main window's operations ----

void cMainWindow::setDefaultSettings() {
    settings = MainSettings();
    recentFiles.clear();
}

QString cMainWindow::colorSchemeFile() const {
    // Named schemes come from the user's file when it has them, else from the shipped copy.
    const QString user = resolveConfigFile(QStringLiteral("KDKSettings.ini"), false);
    QSettings file(user, QSettings::IniFormat);
    for (const QString& group : file.childGroups())
        if (group.startsWith(QLatin1String("ColorScheme")) && group != QLatin1String("ColorSchemeCustom"))
            return user;
    return App_GetBaseDirectory() + QStringLiteral("/KDKSettings.ini");
}

void cMainWindow::readSettings() {
    const QString path = resolveConfigFile(QStringLiteral("KDKSettings.ini"), false);
    // A malformed line costs that line only: the settings class would take a broken section
    // header for a section and file every key after it there. Those lines are left out of what
    // is read, and out of the file when it is written.
    QTemporaryFile cleaned;
    QString readPath = path;
    if (QFileInfo::exists(path) && Settings_ReportMalformedLines(path) > 0) {
        QFile original(path);
        if (original.open(QIODevice::ReadOnly) && cleaned.open()) {
            cleaned.write(Settings_WithoutMalformedLines(original.readAll(), nullptr));
            cleaned.flush();
            readPath = cleaned.fileName();
        }
    }
    {
        QSettings file(readPath, QSettings::IniFormat);
        Settings_Read(file, settings, recentFiles);
        updateRecentFilesMenu();
        for (const SettingAction& action : Settings_ActionTable())
            setActionChecked(QLatin1String(action.name), action.checked(settings));

        file.beginGroup(QStringLiteral("ColorSchemeCustom"));
        if (file.contains(QStringLiteral("Title"))) Color_LoadCustomScheme(file);
        file.endGroup();
    }
    if (settings.CurrentColorScheme == -1) {
        Color_ApplyCustomScheme();
    } else {
        QSettings schemes(colorSchemeFile(), QSettings::IniFormat);
        schemes.beginGroup(QStringLiteral("ColorScheme%1").arg(settings.CurrentColorScheme));
        if (schemes.contains(QStringLiteral("Title"))) Color_LoadScheme(schemes);
    }
    applySchemePalette();

    if (settings.TextureQuality == 0) {
        settings.TextureQuality = 5;
        const uint64_t mb = Sys_PhysicalMemoryMB();
        if (mb) {
            Sys_Printf("Physical RAM: %u MB", static_cast<unsigned>(mb));
            settings.TextureQuality = Settings_TextureQualityForMemory(mb);
        }
    }
    settings.UndoLevels = std::max(settings.UndoLevels, 5);
    settings.SelectionBulletSize = std::max(settings.SelectionBulletSize, 4);
    settings.VertexToolBulletSize = std::max(settings.VertexToolBulletSize, 4);
    // The GL state cache takes its alpha reference from MinAlphaValue at each use.
    TempBuffer_ReleaseAll();
}

bool cMainWindow::writeSettings() {
    const QString path = resolveConfigFile(QStringLiteral("KDKSettings.ini"), true);
    bool written = Settings_DropMalformedLines(path);
    if (written) {
        QSettings file(path, QSettings::IniFormat);
        written = false;
        if (file.isWritable()) {
            Settings_Write(file, settings, recentFiles);
            file.beginGroup(QStringLiteral("ColorSchemeCustom"));
            Color_SaveCustomScheme(file);
            file.endGroup();
            file.sync();
            written = file.status() == QSettings::NoError;
        }
    }
    // The settings class sorts keys by name; people read the file in the table's order.
    if (written) written = Settings_PutInFileOrder(path);
    if (!written)
        Sys_Warning("Could not write the settings file \"%s\"", Text_ToWindows1251(path).constData());
    // The game configurations have their own file and are saved either way.
    if (!GameCfg_SaveConfigurations(&gameConfigs)) written = false;
    return written;
}

// ---- File order ----

namespace {

struct IniSection {
    QByteArray name;
    QList<QByteArray> lines;
};

int32_t sectionRank(const QByteArray& name) {
    if (name == "General") return 0;
    int32_t rank = 1;
    const char* last = "";
    for (const SettingKey& key : kKeys) {
        if (qstrcmp(key.group, last) == 0) continue;
        last = key.group;
        if (name == key.group) return rank;
        ++rank;
    }
    if (name == "ColorSchemeCustom") return rank;
    return rank + 1;
}

int32_t keyRank(const QByteArray& section, const QByteArray& line) {
    const QByteArray key = line.left(line.indexOf('=')).trimmed();
    const QByteArray group = section == "General" ? QByteArray() : section;
    int32_t index = 0;
    for (const SettingKey& row : kKeys) {
        if (group == row.group && key == row.key) return index;
        ++index;
    }
    if (group == kRecentGroup && key.startsWith("RecentFile")) {
        bool ok = false;
        const int32_t n = key.mid(10).toInt(&ok);
        if (ok) return index + n;
    }
    return INT_MAX;
}

} // namespace

bool Settings_PutInFileOrder(const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return false;
    QList<IniSection> sections;
    while (!in.atEnd()) {
        QByteArray line = in.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty()) continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            sections.append(IniSection{line.mid(1, line.size() - 2), {}});
            continue;
        }
        if (sections.isEmpty()) sections.append(IniSection{"General", {}});
        sections.last().lines.append(line);
    }
    in.close();
    std::stable_sort(sections.begin(), sections.end(), [](const IniSection& a, const IniSection& b) {
        return sectionRank(a.name) < sectionRank(b.name);
    });
    QByteArray text;
    for (IniSection& section : sections) {
        std::stable_sort(section.lines.begin(), section.lines.end(),
                         [&](const QByteArray& a, const QByteArray& b) {
                             return keyRank(section.name, a) < keyRank(section.name, b);
                         });
        if (!text.isEmpty()) text += '\n';
        text += '[' + section.name + "]\n";
        for (const QByteArray& line : section.lines)
            text += line + '\n';
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(text);
    return out.commit();
}
