// Where a floor keeps the one installed host of its interface: the main window (or a test) sets
// it for its lifetime; null while none is installed.
#pragma once

template <class Host>
Host*& Host_Slot() {
    static Host* host = nullptr;
    return host;
}
