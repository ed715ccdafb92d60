#include "document/DocumentHost.h"

namespace {
DocumentHost*& installedHost() {
    static DocumentHost* host = nullptr;
    return host;
}
} // namespace

DocumentHost& Document_Host() {
    static DocumentHost headless;
    DocumentHost* host = installedHost();
    return host ? *host : headless;
}

void Document_SetHost(DocumentHost* host) {
    installedHost() = host;
}
