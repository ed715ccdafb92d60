// The system host of a program without a window: console lines go to a callback, the preferences
// start as the defaults (so snapping, rounding and the plugin options answer as in a fresh
// editor; tests may change them). Installed for its lifetime; the previous host comes back after.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/ArchiveRegistry.h"

class cHeadlessLog final : public SysHost {
public:
    using LineFn = std::function<void(const QString& html)>;

    explicit cHeadlessLog(LineFn onLine = {}) : m_onLine(std::move(onLine)), m_previous(Sys_Host()) {
        Sys_SetHost(this);
    }
    ~cHeadlessLog() override { Sys_SetHost(m_previous); }
    cHeadlessLog(const cHeadlessLog&) = delete;
    cHeadlessLog& operator=(const cHeadlessLog&) = delete;

    void printToConsole(const QString& html, bool) override {
        if (m_onLine) m_onLine(html);
    }
    bool starting() const override { return false; }
    float vertexRoundEpsilon() const override { return m_settings.MapVertexRoundEps; }
    int32_t maxWorldSize() const override { return m_settings.MaxWorldSize; }
    ArchiveRegistry& archives() override { return m_archives; }
    FoundFiles& foundFiles() override { return m_found; }
    MainSettings* settings() override { return &m_settings; }

private:
    LineFn m_onLine;
    SysHost* m_previous;
    MainSettings m_settings;
    ArchiveRegistry m_archives;
    FoundFiles m_found;
};
