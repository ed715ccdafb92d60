// Entity-definition files: each file named by any game configuration is loaded once into a shared,
// reference-counted GameData record of the installed host's registry, keyed by its path, and the rest
// of the editor finds entity classes through it.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "gamedata/EntityClass.h"

struct GameConfig;

namespace GameDataState {
constexpr int32_t NotLoaded = 0; // or cleared
constexpr int32_t HeadersOnly = 1;
constexpr int32_t Loaded = 2;
} // namespace GameDataState

struct GameData {
    int32_t loadState = GameDataState::NotLoaded;
    bool modelsPrecached = false;
    bool hasGroupClasses = false;
    int32_t refCount = 1;
    QString fileName; // last path component, for messages
    QString path;
    // Every class of every kind by name; one entry per name and kind, equal names in file order.
    std::multimap<QByteArray, std::unique_ptr<EntityClass>> classes;
    QHash<QByteArray, EntityClass*> pointClasses;
    QHash<QByteArray, EntityClass*> solidClasses; // solid and world classes
};

class GameDataRegistry {
public:
    GameDataRegistry() = default;
    ~GameDataRegistry();
    GameDataRegistry(const GameDataRegistry&) = delete;
    GameDataRegistry& operator=(const GameDataRegistry&) = delete;

    QHash<QString, GameData*> files; // by path as given; owned
    // Runs after a file's classes were replaced or cleared and before the old ones are freed:
    // whoever holds class pointers (the entities of every open document) looks them up again.
    std::function<void()> rebindClassUsers;
};

// The installed host's registry; null without a host.
GameDataRegistry* Fgd_Registry();

// The record of the path with its count raised, or a new one (state 0, count 1). Reads nothing.
GameData* Fgd_Acquire(GameDataRegistry* registry, const QString& path);
// Lowers the count; at zero the record leaves the registry and is freed with its classes.
void Fgd_Release(GameDataRegistry* registry, const QString& path);
// Frees every record whatever its count (exit).
void Fgd_FreeAll(GameDataRegistry* registry);

// Loads the file section by section (the whole file, or only each class's kind, helpers and name).
// Already loaded far enough: true at once; a headers-only load is replaced by a full one. False
// when the file cannot be opened. Problems inside the file are console messages naming file and
// line; a faulty section costs only itself.
bool Fgd_Load(GameData* file, bool headersOnly);
// Frees every class (releasing precached models first) and sets the state to 0.
void Fgd_ClearClasses(GameData* file);
// Acquires every class's sprites and models from the model cache.
void Fgd_PrecacheModels(GameData* file, const QString& paletteName);

// Kind 0 or 3: the solid-or-world hash; 4: the point hash; 1 or 2: the first class of that name
// and kind. Names match exactly.
EntityClass* Fgd_FindClass(const GameData* file, const char* name, int32_t kind);
// The first class of that name, any kind.
EntityClass* Fgd_FindClassByName(const GameData* file, const QByteArray& name);
namespace ClassSelector {
constexpr int32_t Solid = 0; // any value but the three below
constexpr int32_t Point = 1;
constexpr int32_t World = 2;
constexpr int32_t Any = 3;
} // namespace ClassSelector
// Searches the configuration's loaded files, the last-listed first.
EntityClass* Fgd_FindClassInConfig(const GameConfig* config, const char* name, int32_t selector);
// The first world class in the same order.
EntityClass* Fgd_FindWorldClass(const GameConfig* config);

// ---- Used by the section parser ----------------------------------------------------------------
// Enters a parsed class; false (and a warning) when one of that name and kind exists already.
bool Fgd_RegisterClass(GameData* file, std::unique_ptr<EntityClass> eclass);
