// The game-configuration file "KDKGameCfg.ini": one INI group "Config%1" per configuration, keys in
// a fixed order. Our own small UTF-8 INI reader and writer, because the toolkit's settings class
// sorts keys (GameData10 before GameData2), cannot name a bad line, and reads an unquoted value
// with a comma as a list. Values are escaped and quoted as that class does, so each reads the
// other's files.
//
// A damaged file is never lost: bad lines are reported and skipped, values that do not convert
// are reported, and when anything could not be read the first save copies the old file to
// "<name>.bak" before replacing it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

// ---- INI text --------------------------------------------------------------------------------------

struct IniGroup {
    QString name;
    QList<QPair<QString, QString>> keys; // file order; a repeated key keeps its first place
    int32_t line = 0;                    // of the "[name]" line
    QList<int32_t> keyLines;             // line of each key
};

struct IniDocument {
    QList<IniGroup> groups; // file order; a repeated group is merged into the first
    int32_t badLines = 0;   // reported and skipped

    const IniGroup* group(const QString& name) const;
};

// Parses UTF-8 text (a leading byte-order mark is skipped). Lines that are neither "[group]" nor
// "key=value" are reported as "<fileName>, line N: not a key=value line, skipped".
IniDocument Ini_Parse(const QByteArray& text, const QString& fileName);
// Groups separated by a blank line, "key=value" lines, "\n" line ends.
QByteArray Ini_Write(const IniDocument& document);
// A value as the settings class writes and reads a string ('@' doubled, escapes, quotes).
QByteArray Ini_EscapeValue(const QString& value);
QString Ini_UnescapeValue(const QByteArray& raw);

// ---- Configurations --------------------------------------------------------------------------------

// Every key of one "Config%1" group, in file order.
struct GameConfigValues {
    QString Title;
    bool Enabled = false;
    int32_t TextureFormat = 0;
    QString MapProfile;
    QString DefaultPointClass;
    QString DefaultSolidClass;
    QString GameExecutable;
    QString GameCommandLine;
    QString GameBasedir;
    QString GameModdir;
    QString MapSourceFileDirectory;
    QString ModelViewer;
    uint32_t TextureBrightness = 50;
    float DefaultTextureScale = 1.0f;
    QString PaletteFile;
    QString MapTool[4]; // CSG, BSP, VIS, LIGHT
    QStringList GameData;
    QStringList Parcel;
};

class cGameConfigFile {
public:
    // Reads "Config0", "Config1", ... up to the first group without a Title. A missing file gives
    // no configurations and no message. False when the file exists but cannot be read.
    bool load(const QString& path, QList<GameConfigValues>* configs);
    // Replaces the file's content atomically. The first save after a load that could not read
    // everything first copies the old file to "<path>.bak" and says so. A failed save keeps the
    // old file and is reported; false then.
    bool save(const QString& path, const QList<GameConfigValues>& configs);

    // Something of the loaded file was not read (bad lines, unread groups or keys, an unreadable
    // file): the next save keeps a copy first.
    bool needsBackup() const { return m_needsBackup; }

private:
    bool m_needsBackup = false;
};

// The group of one configuration, keys in file order ("%.3f" scale, MapTool0..3 always).
IniGroup GameCfgFile_WriteGroup(const GameConfigValues& config, int32_t index);
