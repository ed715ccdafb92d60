// Numbers typed into fields that feed the map (coordinates, texture mapping, key values). A
// number counts only when it is finite and inside the field's range: a typo such as "1e39" would
// otherwise become an infinite coordinate that the map's files cannot hold.
#pragma once

#include <QString>

// The largest texture coordinate a field takes, in repeats of the texture.
inline constexpr double kNumberTextureLimit = 1.0e6;
// The largest value a key's number takes when the key has no narrower range.
inline constexpr double kNumberKeyLimit = 1.0e9;

// The text's number (C locale, blanks around it allowed) when it is one, finite as a float and
// inside [lowest, highest]; false otherwise and *value untouched.
bool Number_Read(QStringView text, double lowest, double highest, float* value);
// The message that refuses the text for a field of that range.
QString Number_RefusalText(const QString& text, double lowest, double highest);
