// The name filter that the texture browser and the effect list share: what the user types there
// becomes one pattern that passes a name containing any of the typed words.
#pragma once

#include <QRegularExpression>
#include <QString>

// "(.*w1.*|.*w2.*)" for the words of text (split at blanks, commas and semicolons, each taken
// literally), not case-sensitive, searched unanchored; separators alone pass every name.
QRegularExpression NameFilter_Pattern(const QString& text);
