// Fill the widgets that show a configuration's texture lists: group combos and tabs, texture
// combos with their recent names, and the effect and stage trees.
#pragma once

#include <QString>
#include <Qt>

#include "gamedata/TextureLists.h"

// The item-data role that marks the recent items (and their separator) a filler put into a combo,
// so that a refill removes only those, whatever other combo shares the recent list.
inline constexpr int kRecentItemRole = Qt::UserRole + 1;

class QComboBox;
class QRegularExpression;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

// "(Missing Textures)" when any is listed, then the groups in display order; selects current
// (fixed text, any case) when given. The combo is not cleared.
void TexList_FillGroupCombo(const TextureLists* lists, QComboBox* box, const QString& current);
// One tab per group (existing tabs reused, surplus removed), a last "Mi&ssing Textures" tab when
// any is missing; the tab whose data is current ("(All Textures)" when empty) becomes current.
void TexList_FillGroupTabs(const TextureLists* lists, QTabBar* bar, const QString& current);
// Appends the textures of the group (all for "(All Textures)") with their thumbnails; selects
// current when the combo had no current item before or force is set.
void TexList_FillGroupTextures(const TextureLists* lists, const QString& group, QComboBox* box,
                               const QString& current, bool force);
// Replaces the recent items this filler put at the top of this combo by the listed recent names
// and a separator; the one named current (any case) becomes current.
void TexList_FillRecentTextures(TextureLists* lists, QComboBox* box, const QString& current);
// One top-level item per effect of the group (every group for "(All Textures)") whose name the
// filter (may be null) matches, "*" after edited ones, each with its stage subtree; the one named
// current (any case) becomes current, else the first.
void TexList_FillEffectTree(const TextureLists* lists, const QString& group, QTreeWidget* tree,
                            const QString& current, const QRegularExpression* filter);
// The item's children: the editor image, each stage's map or animation with its frames. Items
// carry their record's address in the user role (an animation item none).
void TexList_FillStageTree(QTreeWidgetItem* item, ShaderRecord* shader);
