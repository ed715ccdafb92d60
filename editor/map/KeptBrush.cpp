#include "map/KeptBrush.h"

#include <cstring>

#include "core/System.h"

KeptBrushRecord* KeptBrush_CopyList(const KeptBrushRecord* list) {
    KeptBrushRecord* head = nullptr;
    KeptBrushRecord** tail = &head;
    for (const KeptBrushRecord* k = list; k; k = k->next) {
        auto* copy = static_cast<KeptBrushRecord*>(Sys_Alloc(sizeof(KeptBrushRecord)));
        const size_t bytes = sizeof(KeptFaceLine) * size_t(k->faceCount);
        auto* faces = bytes ? static_cast<KeptFaceLine*>(Sys_Alloc(bytes)) : nullptr;
        if (!copy || (bytes && !faces)) {
            Sys_Free(copy);
            Sys_Free(faces);
            KeptBrush_FreeList(head);
            return nullptr;
        }
        if (bytes) std::memcpy(faces, k->faces, bytes);
        copy->faces = faces;
        copy->faceCount = k->faceCount;
        copy->after = k->after;
        *tail = copy;
        tail = &copy->next;
    }
    return head;
}

void KeptBrush_FreeList(KeptBrushRecord*& list) {
    while (KeptBrushRecord* k = list) {
        list = k->next;
        Sys_Free(k->faces);
        Sys_Free(k);
    }
}
