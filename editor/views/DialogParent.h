// Where a message box or dialog over a widget goes.
#pragma once

class QWidget;

// The parent for a message box over w: a visible stay-on-top window covering w's middle, else w.
QWidget* App_DialogParent(QWidget* w);
