#include "gamedata/GameConfigFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <variant>

#include "core/System.h"

// ---- INI text --------------------------------------------------------------------------------------

const IniGroup* IniDocument::group(const QString& name) const {
    for (const IniGroup& g : groups)
        if (g.name == name) return &g;
    return nullptr;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray local(const QString& text) {
    return text.toUtf8();
}

void addKey(IniGroup& group, const QString& key, const QString& value, int32_t line) {
    for (auto& pair : group.keys)
        if (pair.first == key) {
            pair.second = value; // a later line wins, as in the settings class
            return;
        }
    group.keys.append({key, value});
    group.keyLines.append(line);
}

} // namespace

IniDocument Ini_Parse(const QByteArray& text, const QString& fileName) {
    IniDocument doc;
    const qsizetype n = text.size();
    qsizetype pos = text.startsWith("\xef\xbb\xbf") ? 3 : 0;
    int32_t line = 1;
    int32_t current = -1; // group index; keys before any group go into a nameless one

    auto bad = [&](int32_t at) {
        ++doc.badLines;
        Sys_Warning("%s, line %i: not a key=value line, skipped", local(fileName).constData(), at);
    };

    while (pos < n) {
        const char c = text[pos];
        if (c == '\n' || c == '\r' || isBlank(c)) {
            if (c == '\n') ++line;
            ++pos;
            continue;
        }
        const int32_t startLine = line;
        const qsizetype start = pos;
        qsizetype equals = -1;
        bool inQuotes = false;
        // One logical line: a backslash carries it over a line end; a ';' outside quotes starts a
        // comment. A quote never spans lines (the writer escapes line ends), so a stray quote
        // costs only its own line.
        while (pos < n) {
            const char ch = text[pos];
            if (ch == '\n' || ch == '\r') break;
            if (ch == '\\') {
                pos += 2;
                if (pos - 1 < n && text[pos - 1] == '\n') ++line;
                if (pos - 1 < n && text[pos - 1] == '\r' && pos < n && text[pos] == '\n') {
                    ++pos;
                    ++line;
                }
                continue;
            }
            if (ch == '"') inQuotes = !inQuotes;
            if (ch == '=' && !inQuotes && equals < 0) equals = pos;
            if (ch == ';' && !inQuotes) break;
            ++pos;
        }
        const qsizetype end = std::min(pos, n);
        while (pos < n && text[pos] != '\n' && text[pos] != '\r')
            ++pos; // the comment
        if (text[start] == ';') continue;

        const QByteArray lineText = text.mid(start, end - start);
        if (lineText.startsWith('[')) {
            const qsizetype close = lineText.indexOf(']');
            // A damaged header still opens a group (under its raw text, which names no
            // configuration), so its keys cannot overwrite those of the group before it.
            if (close < 0) bad(startLine);
            const QString name = close < 0 ? QString::fromUtf8(lineText)
                                           : QString::fromUtf8(lineText.mid(1, close - 1)).trimmed();
            current = -1;
            for (qsizetype i = 0; i < doc.groups.size(); ++i)
                if (doc.groups[i].name == name) current = int32_t(i);
            if (current < 0) {
                doc.groups.append(IniGroup{name, {}, startLine, {}});
                current = int32_t(doc.groups.size() - 1);
            }
            continue;
        }
        const QString key =
            equals < 0 ? QString() : QString::fromUtf8(text.mid(start, equals - start)).trimmed();
        if (key.isEmpty()) {
            bad(startLine);
            continue;
        }
        if (current < 0) {
            doc.groups.append(IniGroup{QString(), {}, startLine, {}});
            current = int32_t(doc.groups.size() - 1);
        }
        addKey(doc.groups[current], key, Ini_UnescapeValue(text.mid(equals + 1, end - equals - 1)),
               startLine);
    }
    return doc;
}

QByteArray Ini_Write(const IniDocument& document) {
    QByteArray out;
    for (qsizetype g = 0; g < document.groups.size(); ++g) {
        const IniGroup& group = document.groups[g];
        if (g > 0) out += '\n';
        out += '[' + group.name.toUtf8() + "]\n";
        for (const auto& pair : group.keys)
            out += pair.first.toUtf8() + '=' + Ini_EscapeValue(pair.second) + '\n';
    }
    return out;
}

QByteArray Ini_EscapeValue(const QString& value) {
    // As the settings class writes a string: '@' doubled at the start, control characters and
    // quotes and backslashes escaped, quotes around values with ';', ',' or '=' or outer blanks.
    const QString text = value.startsWith('@') ? '@' + value : value;
    QByteArray out;
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar qc = text[i];
        const char16_t ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=') needsQuotes = true;
        const bool hexDigit =
            (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
        if (escapeNextIfDigit && hexDigit) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case 0:
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(ch);
            break;
        default:
            // Half a surrogate pair (only an escape reads as one) has no UTF-8 form: the
            // encoder would drop it or write U+FFFD, so it goes back out as the escape it came as.
            const bool pairStart =
                qc.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            if (ch <= 0x1f || (qc.isSurrogate() && !pairStart)) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else if (pairStart) {
                out += toUtf8(QStringView(text).mid(i, 2));
                ++i;
            } else {
                out += toUtf8(QStringView(&qc, 1));
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
    return out;
}

QString Ini_UnescapeValue(const QByteArray& raw) {
    static const char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                       {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                       {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    QString out;
    QByteArray pending; // UTF-8 bytes not yet decoded
    auto flush = [&] {
        // A byte-order mark inside a value is a character: the plain conversion would drop it
        // where an escape happens to start a new piece, and the value would change on rereading.
        out += QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom).decode(pending);
        pending.clear();
    };
    const qsizetype n = raw.size();
    qsizetype i = 0;
    bool inQuotes = false;
    bool quoted = false;
    qsizetype chopLimit = 0; // outer blanks after this are dropped unless quoted
    auto skipBlanks = [&] {
        while (i < n && isBlank(raw[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        const char ch = raw[i];
        if (ch == '\\') {
            flush();
            ++i;
            if (i >= n) break;
            const char e = raw[i++];
            bool named = false;
            for (const auto& code : kEscapes)
                if (e == code[0]) {
                    out += QLatin1Char(code[1]);
                    named = true;
                }
            if (!named && (e == 'x' || (e >= '0' && e <= '7'))) {
                const bool hex = e == 'x';
                char16_t value = hex ? 0 : char16_t(e - '0');
                int digits = hex ? 0 : 1;
                while (i < n) {
                    const char d = raw[i];
                    int digit = -1;
                    if (d >= '0' && d <= (hex ? '9' : '7')) digit = d - '0';
                    if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
                    if (hex && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
                    if (digit < 0) break;
                    value = char16_t((value << (hex ? 4 : 3)) + digit);
                    ++digits;
                    ++i;
                }
                if (digits) out += QChar(value); // "\x" without digits stands for nothing
            } else if (!named && e == '\r' && i < n && raw[i] == '\n') {
                ++i; // a continued line
            }
            chopLimit = out.size();
            continue;
        }
        if (ch == '"') {
            flush();
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) skipBlanks();
            continue;
        }
        pending += ch;
        ++i;
    }
    flush();
    if (!quoted) {
        qsizetype size = out.size();
        while (size > chopLimit && (out[size - 1] == ' ' || out[size - 1] == '\t'))
            --size;
        out.truncate(size);
    }
    // The settings class marks values of other types with a leading '@'.
    if (out.startsWith("@@")) return out.mid(1);
    if (out == "@Invalid()") return QString();
    if (out.startsWith("@ByteArray(") && out.endsWith(')')) return out.mid(11, out.size() - 12);
    return out;
}

// ---- Files of numbered configuration groups ------------------------------------------------------

cIniGroupReader::cIniGroupReader(const IniGroup& group, const QString& fileName)
    : m_group(group), m_fileName(fileName.toUtf8()) {}

const QString* cIniGroupReader::find(const QString& key) {
    for (const auto& pair : m_group.keys)
        if (pair.first == key) {
            if (!m_used.contains(key)) m_used.append(key);
            return &pair.second;
        }
    return nullptr;
}

int32_t cIniGroupReader::lineOf(const QString& key) const {
    for (qsizetype k = 0; k < m_group.keys.size(); ++k)
        if (m_group.keys[k].first == key) return m_group.keyLines[k];
    return m_group.line;
}

void cIniGroupReader::take(const QString& key, QString& out) {
    if (const QString* v = find(key)) out = *v;
}

void cIniGroupReader::take(const QString& key, bool& out) {
    if (const QString* v = find(key))
        out = !(v->isEmpty() || *v == "0" || v->compare("false", Qt::CaseInsensitive) == 0);
}

void cIniGroupReader::take(const QString& key, int32_t& out) {
    takeNumber(key, out);
}

void cIniGroupReader::take(const QString& key, uint32_t& out) {
    takeNumber(key, out);
}

void cIniGroupReader::take(const QString& key, float& out) {
    takeNumber(key, out);
}

template <typename Number> void cIniGroupReader::takeNumber(const QString& key, Number& out) {
    const QString* v = find(key);
    if (!v) {
        out = std::is_same_v<Number, float> ? Number(0) : out;
        return;
    }
    bool ok = false;
    if constexpr (std::is_same_v<Number, float>)
        out = v->toFloat(&ok);
    else if constexpr (std::is_same_v<Number, uint32_t>)
        out = v->toUInt(&ok);
    else
        out = v->toInt(&ok);
    if (!ok) {
        out = 0;
        Sys_Warning("%s, line %i: %s value \"%s\" is not %s, read as 0", m_fileName.constData(), lineOf(key),
                    key.toUtf8().constData(), v->toUtf8().constData(),
                    std::is_same_v<Number, float> ? "a number" : "a whole number");
        ++problems;
    }
}

int32_t cIniGroupReader::finish() {
    for (qsizetype k = 0; k < m_group.keys.size(); ++k)
        if (!m_used.contains(m_group.keys[k].first)) {
            Sys_Warning("%s, line %i: key %s of group %s not read", m_fileName.constData(),
                        m_group.keyLines[k], m_group.keys[k].first.toUtf8().constData(),
                        m_group.name.toUtf8().constData());
            ++problems;
        }
    return problems;
}

bool cConfigGroupFile::loadGroups(const QString& path, const std::function<int32_t(const IniGroup&)>& read) {
    const QString fileName = QFileInfo(path).fileName();
    const QByteArray name = fileName.toUtf8();
    m_keptPath.clear();
    m_unreadGroups.clear();
    m_keptReported = false;
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        Sys_Warning("%s: can't read (%s); no configurations read", name.constData(),
                    file.errorString().toUtf8().constData());
        m_needsBackup = true;
        return false;
    }
    const IniDocument doc = Ini_Parse(file.readAll(), fileName);
    int32_t problems = doc.badLines;
    QSet<QString> done;
    for (int32_t n = 0;; ++n) {
        const IniGroup* group = doc.group(QString("Config%1").arg(n));
        bool hasTitle = false;
        if (group)
            for (const auto& pair : group->keys)
                hasTitle = hasTitle || pair.first == "Title";
        if (!hasTitle) break;
        problems += read(*group);
        done.insert(group->name);
    }
    for (const IniGroup& group : doc.groups)
        if (!done.contains(group.name)) {
            Sys_Warning(
                "%s, line %i: group %s not read (the configurations end at the first group without a Title)",
                name.constData(), group.line, group.name.toUtf8().constData());
            ++problems;
            m_unreadGroups.append(group.name);
        }
    if (!m_unreadGroups.isEmpty()) m_keptPath = QFileInfo(path).absoluteFilePath();
    if (problems) m_needsBackup = true;
    return true;
}

bool cConfigGroupFile::saveGroups(const QString& path, const QList<IniGroup>& groups) {
    const QByteArray name = QFileInfo(path).fileName().toUtf8();
    IniDocument doc;
    doc.groups = groups;

    // Writing would drop what the user wrote in groups this program did not read.
    if (!m_keptPath.isEmpty() && QFileInfo(path).absoluteFilePath() == m_keptPath && QFile::exists(path)) {
        const bool one = m_unreadGroups.size() == 1;
        if (!m_keptReported)
            Sys_Warning("%s not saved: %s %s %s not read, so the file is kept as written", name.constData(),
                        one ? "group" : "groups",
                        m_unreadGroups.join(QStringLiteral(", ")).toUtf8().constData(), one ? "was" : "were");
        m_keptReported = true;
        return true;
    }

    if (m_needsBackup && QFile::exists(path)) {
        const QString backup = path + ".bak";
        QFile::remove(backup);
        if (!QFile::copy(path, backup)) {
            Sys_Error("can't keep a copy of %s as %s: not saved", name.constData(),
                      QFileInfo(backup).fileName().toUtf8().constData());
            return false;
        }
        Sys_Warning("%s could not be read whole: the old file is kept as %s", name.constData(),
                    QFileInfo(backup).fileName().toUtf8().constData());
    }
    m_needsBackup = false;

    // A short write (a full disk, a size limit) is a failure too: the old file must stay. The
    // explicit flush matters: commit() does not notice a buffer that failed to reach the disk.
    const QByteArray text = Ini_Write(doc);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() ||
        !file.commit()) {
        Sys_Error("can't save %s (\"%s\": %s)", name.constData(), path.toUtf8().constData(),
                  file.errorString().toUtf8().constData());
        return false;
    }
    return true;
}

// ---- Configurations --------------------------------------------------------------------------------

namespace {

using Field = std::variant<QString GameConfigValues::*, bool GameConfigValues::*, int32_t GameConfigValues::*,
                           uint32_t GameConfigValues::*, float GameConfigValues::*>;

struct KeyRow {
    const char* key;
    Field field;
};

// Keys before the MapTool, GameData and Parcel lists, in file order.
const KeyRow kKeys[] = {
    {"Title", &GameConfigValues::Title},
    {"Enabled", &GameConfigValues::Enabled},
    {"TextureFormat", &GameConfigValues::TextureFormat},
    {"MapProfile", &GameConfigValues::MapProfile},
    {"DefaultPointClass", &GameConfigValues::DefaultPointClass},
    {"DefaultSolidClass", &GameConfigValues::DefaultSolidClass},
    {"GameExecutable", &GameConfigValues::GameExecutable},
    {"GameCommandLine", &GameConfigValues::GameCommandLine},
    {"GameBasedir", &GameConfigValues::GameBasedir},
    {"GameModdir", &GameConfigValues::GameModdir},
    {"MapSourceFileDirectory", &GameConfigValues::MapSourceFileDirectory},
    {"ModelViewer", &GameConfigValues::ModelViewer},
    {"TextureBrightness", &GameConfigValues::TextureBrightness},
    {"DefaultTextureScale", &GameConfigValues::DefaultTextureScale},
    {"PaletteFile", &GameConfigValues::PaletteFile},
};

QString scaleText(float scale) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", double(scale));
    return QString::fromLatin1(text);
}

enum class FoundShape { None, Scripts, TextureFolder };

// What the entry is when the game-folder search gives it for the folder: "<folder>/scripts::*.shader"
// or "<folder>/scripts/<name>.shader" (scripts), "<folder>/textures/<group>::*.tga;*.jpg".
FoundShape foundShape(const QString& entry, const QString& folder) {
    const QString root = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    if (folder.isEmpty() || !entry.startsWith(root + '/')) return FoundShape::None;
    const QString rest = entry.mid(root.size() + 1);
    if (rest == QLatin1String("scripts::*.shader")) return FoundShape::Scripts;
    if (rest.startsWith(QLatin1String("scripts/")) && rest.endsWith(QLatin1String(".shader")) &&
        rest.count('/') == 1 && !rest.contains(QLatin1String("::")))
        return FoundShape::Scripts;
    static const QString kTextures = QStringLiteral("::*.tga;*.jpg");
    if (rest.startsWith(QLatin1String("textures/")) && rest.endsWith(kTextures) && rest.count('/') == 1 &&
        rest.indexOf(QLatin1String("::")) == rest.size() - kTextures.size())
        return FoundShape::TextureFolder;
    return FoundShape::None;
}

// A list the file does not mark (an older file, or text written by hand): the editor's when it is
// empty or is what the search writes, scripts and texture folders of the game folders alone. A
// list of a few such entries is taken as the user's choice.
bool looksFound(const GameConfigValues& c) {
    bool scripts = false, folders = false;
    for (const QString& entry : c.Parcel) {
        FoundShape shape = foundShape(entry, c.GameModdir);
        if (shape == FoundShape::None) shape = foundShape(entry, c.GameBasedir);
        if (shape == FoundShape::None) return false;
        (shape == FoundShape::Scripts ? scripts : folders) = true;
    }
    return c.Parcel.isEmpty() || (scripts && folders);
}

// Reads one group into a configuration; counts what it could not read.
GameConfigValues readConfig(cIniGroupReader& reader) {
    GameConfigValues c;
    for (const KeyRow& row : kKeys)
        std::visit([&](auto member) { reader.take(row.key, c.*member); }, row.field);
    if (c.DefaultTextureScale < 0.1f) c.DefaultTextureScale = 1.0f;
    for (int i = 0; i < 4; ++i)
        reader.take(QString("MapTool%1").arg(i), c.MapTool[i]);
    for (auto [prefix, list] : {std::pair{"GameData", &c.GameData}, std::pair{"Parcel", &c.Parcel}})
        for (int i = 0;; ++i) {
            const QString* v = reader.find(prefix + QString::number(i));
            if (!v) break;
            *list << *v;
        }
    if (reader.find("ParcelEdited"))
        reader.take("ParcelEdited", c.ParcelEdited);
    else
        c.ParcelEdited = !looksFound(c);
    if (!c.ParcelEdited) c.Parcel.clear();
    reader.finish();
    return c;
}

} // namespace

IniGroup GameCfgFile_WriteGroup(const GameConfigValues& c, int32_t index) {
    IniGroup group;
    group.name = QString("Config%1").arg(index);
    auto add = [&](const QString& key, const QString& value) { group.keys.append({key, value}); };
    for (const KeyRow& row : kKeys)
        std::visit(
            [&](auto member) {
                const auto& value = c.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QString>)
                    add(row.key, value);
                else if constexpr (std::is_same_v<T, bool>)
                    add(row.key, value ? "true" : "false");
                else if constexpr (std::is_same_v<T, float>)
                    add(row.key, scaleText(value));
                else
                    add(row.key, QString::number(value));
            },
            row.field);
    for (int i = 0; i < 4; ++i)
        add(QString("MapTool%1").arg(i), c.MapTool[i]);
    for (qsizetype i = 0; i < c.GameData.size(); ++i)
        add(QString("GameData%1").arg(i), c.GameData[i]);
    if (c.ParcelEdited) {
        add(QStringLiteral("ParcelEdited"), QStringLiteral("true"));
        for (qsizetype i = 0; i < c.Parcel.size(); ++i)
            add(QString("Parcel%1").arg(i), c.Parcel[i]);
    }
    return group;
}

bool cGameConfigFile::load(const QString& path, QList<GameConfigValues>* configs) {
    configs->clear();
    const QString fileName = QFileInfo(path).fileName();
    return loadGroups(path, [&](const IniGroup& group) {
        cIniGroupReader reader(group, fileName);
        configs->append(readConfig(reader));
        return reader.problems;
    });
}

bool cGameConfigFile::save(const QString& path, const QList<GameConfigValues>& configs) {
    QList<IniGroup> groups;
    for (qsizetype i = 0; i < configs.size(); ++i)
        groups.append(GameCfgFile_WriteGroup(configs[i], int32_t(i)));
    return saveGroups(path, groups);
}
