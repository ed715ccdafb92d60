// The command table and the tool table: one row per menu entry, tool-bar button or context-menu
// entry. The builders of the main window turn the rows into actions; the rows never change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One row. Strings are 8-bit and null when absent; the layout is fixed (rows are plain data).
struct ActionEntry {
    const char* menu;        // menu-bar menu title, also its object name
    const char* group;       // submenu title (menu bar and context menus); null: directly in the menu
    const char* name;        // the action's object name
    const char* text;        // null: a separator or a marker row
    const char* icon;        // ":/qrc/" + icon + ".png"
    const char* shortcut;    // key sequences in portable text, alternatives separated by "|"
    const char* statusTip;   // untranslated status text
    const char* slot;        // "1" + slot + "()"
    int32_t standardKey;     // QKeySequence::StandardKey, used without a shortcut; 0 none
    uint32_t flags;          // ActionFlag
    int32_t disabledInTools; // tool ids (bit n) in which the action is disabled
    int32_t toolbarOrder;    // sort key in a map tool bar; the tool id in the tool table
    int32_t contextOrder;    // sort key in a context menu
};
static_assert(sizeof(ActionEntry) == 88);
static_assert(offsetof(ActionEntry, slot) == 56);
static_assert(offsetof(ActionEntry, standardKey) == 64);
static_assert(offsetof(ActionEntry, flags) == 68);
static_assert(offsetof(ActionEntry, disabledInTools) == 72);
static_assert(offsetof(ActionEntry, toolbarOrder) == 76);
static_assert(offsetof(ActionEntry, contextOrder) == 80);

namespace ActionFlag {
constexpr uint32_t MenuBar = 0x1;
constexpr uint32_t Checkable = 0x2;
constexpr uint32_t VisibleWithoutMap = 0x4; // clear: hidden in the menu bar while no map is active
constexpr uint32_t EnabledWithoutMap = 0x8; // clear: disabled while no map is active
constexpr uint32_t RecentSeparator = 0x10;  // separator above the recent files, hidden
constexpr uint32_t RecentInsert = 0x20;     // the recent files go before this separator
constexpr uint32_t WindowListSeparator = 0x40;
constexpr uint32_t WebLinks = 0x80;
constexpr uint32_t ScreenElements = 0x100;
constexpr uint32_t ColorSchemes = 0x200;
constexpr uint32_t PluginMenu = 0x400;
constexpr uint32_t LanguageMenu = 0x800;
constexpr uint32_t FlatContext = 0x1000; // the group opens no submenu in context menus
constexpr uint32_t NotInCommandList = 0x2000;
// Map tool bars.
constexpr uint32_t FileBar = 0x40000;
constexpr uint32_t ViewBar = 0x80000;
constexpr uint32_t TransformBar = 0x100000;
constexpr uint32_t OperationsBar = 0x200000;
constexpr uint32_t RenderBar = 0x400000;
// Context menus.
constexpr uint32_t CanvasMenu = 0x800000;
constexpr uint32_t OperationsMenu = 0x1000000;
constexpr uint32_t CreateMenu = 0x2000000;
constexpr uint32_t SelectMenu = 0x4000000;
constexpr uint32_t SelectionMenu = 0x8000000;
constexpr uint32_t PathsMenu = 0x10000000;
constexpr uint32_t VertexMenu = 0x20000000;
} // namespace ActionFlag

// A map tool bar or a context menu: its name and the row bit that puts rows into it.
struct ActionHolder {
    const char* name;
    uint32_t bit;
};
std::span<const ActionHolder> Action_MapToolBars();
std::span<const ActionHolder> Action_ContextMenus();

// One entry of the web-links submenu; a null caption is a separator.
struct WebLinkEntry {
    const char* caption;
    const char* icon;
    const char* address; // relative addresses name files under the program's folder
};

std::span<const ActionEntry> Action_Table();
std::span<const ActionEntry> Action_ToolTable();
std::span<const WebLinkEntry> Action_WebLinks();

// The keys of a standard-key row, the same on every platform ("|" between alternatives; empty for
// none). Linux's own would make Quit Ctrl+Q, which "Clear selection" also has, so neither fired.
const char* Action_StandardKeyText(int32_t standardKey);

// What is wrong with the tables for a window class: slots it lacks, and keys that two
// window-level rows (menu bar or tool bar) share. Empty when the tables are sound.
struct QMetaObject;
std::vector<std::string> Action_CheckTables(const QMetaObject& window, std::span<const ActionEntry> table,
                                            std::span<const ActionEntry> tools);

// The tool id of the tool-table button that applies the current texture (it has no tool).
inline constexpr int32_t kApplyTextureToolId = 0xffff;
