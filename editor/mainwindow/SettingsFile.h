// "KDKSettings.ini": one table of keys (group, key, member, conversion) drives the defaults, the
// reader, the writer and their tests.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <variant>

#include "core/MainSettings.h"

class QSettings;

enum class SettingForm : uint8_t {
    Plain,      // the member's own type
    FixedText,  // float written as text with 8 decimals
    Byte,       // float 0..1 in memory, integer 0..255 in the file
    IntAsFloat, // float in memory, integer in the file (truncated toward zero)
};

namespace SettingFlag {
constexpr uint8_t Positive = 0x1;   // zero or negative keeps the default with a warning
constexpr uint8_t ReadLast = 0x2;   // read after the rest of its group
constexpr uint8_t AlwaysRead = 0x4; // an absent key yields the empty string
} // namespace SettingFlag

using SettingMember = std::variant<bool MainSettings::*, int32_t MainSettings::*, float MainSettings::*,
                                   QString MainSettings::*>;

struct SettingKey {
    const char* group; // "" for the top level
    const char* key;
    SettingMember member;
    SettingForm form;
    uint8_t flags;
};

// Every key in file order.
std::span<const SettingKey> Settings_KeyTable();
// A checkable action's object name and the checked state the settings give it.
struct SettingAction {
    const char* name;
    bool (*checked)(const MainSettings&);
};
std::span<const SettingAction> Settings_ActionTable();

inline constexpr int32_t kRecentFileKeys = 8;

// Reads the keys present in the open file into settings (RecentFiles strings always), reporting
// values that do not convert and keeping the default for them; fills recentFiles from
// RecentFile1..8 without gaps. Sets CurrentGridSize from GridDefaultSize.
void Settings_Read(QSettings& file, MainSettings& settings, QStringList& recentFiles);
// Writes every key in file order, RecentFile1..N for the first 8 entries and removes the
// RecentFile keys above N.
void Settings_Write(QSettings& file, const MainSettings& settings, const QStringList& recentFiles);
// Rewrites a file the settings class wrote with groups and keys in the table's order (other groups
// and keys after them, as they were). False when it could not be read or written.
bool Settings_PutInFileOrder(const QString& path);
// Reports every line of an INI file that the settings class would misread or drop (file and
// line number). Returns the number reported.
int32_t Settings_ReportMalformedLines(const QString& path);
// The text without those lines (their numbers, from 1, appended to malformed when given).
QByteArray Settings_WithoutMalformedLines(const QByteArray& text, QList<int32_t>* malformed);
// Rewrites the file without those lines; true when it had none or was rewritten.
bool Settings_DropMalformedLines(const QString& path);
// The texture quality 1..5 chosen for an amount of physical memory in MB.
int32_t Settings_TextureQualityForMemory(uint64_t megabytes);
// Physical memory in MB; 0 when unknown.
uint64_t Sys_PhysicalMemoryMB();
// The autosave period: max(delay, 1) minutes in milliseconds, clamped to what a timer takes.
int32_t Settings_AutosaveIntervalMs(int32_t delayMinutes);
