// The primitive list of the New Objects dock: the built-in rows first, then the rows plugins
// announce. Registration copies the row, so the count the dock changes is the copy's.
#pragma once

#include <cstdint>
#include <vector>

class cMainWindow;
struct PrimitiveEntry;

// Appends a copy of the entry; a missing category becomes "(unknown)". Refused with an error
// for a null entry, name or create function.
void registerPrimitive(cMainWindow* window, const PrimitiveEntry* entry);
// The 21 built-in rows in table order, before any plugin's.
void App_RegisterBuiltinPrimitives(cMainWindow* window);
// The registered rows in registration order.
std::vector<PrimitiveEntry>& App_Primitives();
// Empties the list and the choice (the main window's end; tests).
void App_ClearPrimitives();
// Whether the dock offers the row to a map profile with these capability bits.
bool App_PrimitiveOffered(const PrimitiveEntry* entry, uint32_t capabilities);
// The dock's choice: an index into App_Primitives, -1 for none.
void App_SetCurrentPrimitive(int32_t index);
// The row chosen in the dock, or null.
PrimitiveEntry* App_CurrentPrimitive();
