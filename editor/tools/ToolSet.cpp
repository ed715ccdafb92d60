#include "tools/ToolSet.h"

#include "tools/BrushTool.h"
#include "tools/CameraTool.h"
#include "tools/CordonTool.h"
#include "tools/ClipTool.h"
#include "tools/DecalTool.h"
#include "tools/EntityTool.h"
#include "tools/MagnifyTool.h"
#include "tools/PathTool.h"
#include "tools/SelectionTool.h"
#include "tools/TextureTool.h"
#include "tools/VertexTool.h"

namespace {

template <class T> std::unique_ptr<cAbstractTool> make() {
    return std::make_unique<T>();
}

using Factory = std::unique_ptr<cAbstractTool> (*)();
// Index = tool id.
constexpr Factory kFactories[ToolId::Count] = {
    make<cSelectionTool>, make<cMagnifyTool>, make<cCameraTool>, make<cEntityTool>,
    make<cBrushTool>,     make<cTextureTool>, make<cDecalTool>,  make<cClipTool>,
    make<cVertexTool>,    make<cCordonTool>,  make<cPathTool>,
};

} // namespace

ToolSet::ToolSet() {
    for (int id = 0; id < ToolId::Count; ++id) {
        tools[id] = kFactories[id]();
        tools[id]->setId(id);
    }
}

ToolSet::~ToolSet() = default;
