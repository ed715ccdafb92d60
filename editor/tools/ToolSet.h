// The main window's eleven tools, indexed by tool id. The set owns them.
#pragma once

#include <memory>

#include "views/AbstractTool.h"

class ToolSet {
public:
    // Every tool made by its factory, stored at its id and given that id.
    ToolSet();
    ~ToolSet();
    ToolSet(const ToolSet&) = delete;
    ToolSet& operator=(const ToolSet&) = delete;

    cAbstractTool* operator[](int id) const {
        return id >= 0 && id < ToolId::Count ? tools[id].get() : nullptr;
    }
    template <class T> T* get(int id) const { return static_cast<T*>((*this)[id]); }

    std::unique_ptr<cAbstractTool> tools[ToolId::Count];
};
