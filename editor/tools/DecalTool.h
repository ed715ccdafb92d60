// The decal application tool. Until its own behaviour is built it answers every slot as the base does.
#pragma once

#include "tools/AbstractTool.h"

class cDecalTool : public cAbstractTool {};
