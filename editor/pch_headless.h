// Precompiled header of the headless library: the editor's (pch.h) without the widgets.
#pragma once
#ifdef __cplusplus
#include <QtCore/QtCore>
#include <QtGui/QtGui>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#endif
