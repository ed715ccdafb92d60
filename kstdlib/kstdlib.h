// The standard library shared by the editor and the game plugins: one include for all of it.
#pragma once

#include "kstdlib/kexport.h"
#include "kstdlib/kmath.h"
