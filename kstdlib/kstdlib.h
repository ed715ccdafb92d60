// The standard library shared by the editor and the game plugins: one include for all of it.
#pragma once

#include "kstdlib/kexport.h"
#include "kstdlib/kmath.h"
#include "kstdlib/kstring.h"
#include "kstdlib/krandom.h"
#include "kstdlib/kutil.h"
#include "kstdlib/kprofile.h"
