// Texture-list operations the browser calls that the texture lists' own file is due to provide.
// Until it does, the weak bodies here stand in (same behaviour); its definitions replace them at
// link time, and this file goes once they are there.
#pragma once

#include <QString>

class QTabBar;
class TextureLists;

// One tab per group ("(All Textures)", "(Miscellaneous)" and the packages' groups in key order),
// existing tabs reused, surplus removed, a last "Mi&ssing Textures" tab when any is missing; the
// tab whose data is current ("(All Textures)" when empty) becomes current.
void TexList_FillGroupTabs(const TextureLists* lists, QTabBar* bar, const QString& current);
// The group listing the name; "(All Textures)" when not listed or listed without a group.
QString TexList_FindGroup(const TextureLists* lists, const QString& name);
