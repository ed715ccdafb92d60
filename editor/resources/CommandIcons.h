// The icons of the command and tool tables, drawn on a 16-unit square so one drawing serves every size.
#pragma once

#include <QPainter>
#include <span>

struct CommandIcon {
    const char* name; // ":/qrc/" + name + ".png"
    void (*draw)(QPainter&);
};

std::span<const CommandIcon> Art_CommandIcons();
// The effect editor's tool bars (EffectEditorIcons.cpp), written beside the command icons.
std::span<const CommandIcon> Art_EffectEditorIcons();
