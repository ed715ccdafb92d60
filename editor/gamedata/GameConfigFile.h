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
#include <functional>

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

// ---- Files of numbered configuration groups ------------------------------------------------------

// Reads the keys of one group: values that do not convert are reported and read as 0, and
// finish() reports every key nobody asked for.
class cIniGroupReader {
public:
    cIniGroupReader(const IniGroup& group, const QString& fileName);

    // The value of the key, marked as read; null when the group has none.
    const QString* find(const QString& key);
    // Each leaves out unchanged when the key is missing.
    void take(const QString& key, QString& out);
    // As the settings class converts text: only "", "0" and "false" are false.
    void take(const QString& key, bool& out);
    void take(const QString& key, int32_t& out);
    void take(const QString& key, uint32_t& out);
    // A missing key reads as 0.
    void take(const QString& key, float& out);
    // The line of the key, or of the group header without it.
    int32_t lineOf(const QString& key) const;
    // Reports the keys not read; the number of problems found in the group.
    int32_t finish();

    int32_t problems = 0;

private:
    template <typename Number> void takeNumber(const QString& key, Number& out);

    const IniGroup& m_group;
    QByteArray m_fileName;
    QStringList m_used;
};

// A file of groups "Config0", "Config1", ... that ends at the first group without a "Title": the
// game and the run configurations. A damaged file is never lost: what could not be read is
// reported, and the first save after such a load copies the old file to "<name>.bak". A file with
// groups that were not read (a "Config1" without "Config0", written by hand) is never written
// over: saving keeps the user's text and says so.
class cConfigGroupFile {
public:
    // Calls read for each configuration group in order; it returns the problems it found. A
    // missing file reads nothing without a message. False when the file cannot be read.
    bool loadGroups(const QString& path, const std::function<int32_t(const IniGroup&)>& read);
    // Replaces the file atomically with the groups; a failure keeps the old file and is reported
    // with the path. The file last loaded with unread groups is kept as it is (true, with one
    // warning per load).
    bool saveGroups(const QString& path, const QList<IniGroup>& groups);

    // Something of the loaded file was not read (bad lines, unread groups or keys, an unreadable
    // file): the next save keeps a copy first.
    bool needsBackup() const { return m_needsBackup; }

private:
    bool m_needsBackup = false;
    // The file loaded with groups that were not read, and their names; empty otherwise.
    QString m_keptPath;
    QStringList m_unreadGroups;
    bool m_keptReported = false;
};

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
    // The user's package list, "ParcelEdited=true" before its entries. The editor's own list is
    // found again at every precache and not written; a file without the key (an older one, or
    // text written by hand) holds the editor's list when it is empty or is scripts and texture
    // folders of the configuration's game folders all as the editor's search names them, and is
    // read empty then.
    QStringList Parcel;
    bool ParcelEdited = false;
};

class cGameConfigFile : public cConfigGroupFile {
public:
    // Reads "Config0", "Config1", ... up to the first group without a Title. A missing file gives
    // no configurations and no message. False when the file exists but cannot be read.
    bool load(const QString& path, QList<GameConfigValues>* configs);
    // Replaces the file's content atomically. The first save after a load that could not read
    // everything first copies the old file to "<path>.bak" and says so. A failed save keeps the
    // old file and is reported; false then.
    bool save(const QString& path, const QList<GameConfigValues>& configs);
};

// The group of one configuration, keys in file order ("%.3f" scale, MapTool0..3 always).
IniGroup GameCfgFile_WriteGroup(const GameConfigValues& config, int32_t index);
