// Room for every control of a dialog whatever the font: the forms place their controls at fixed
// positions and sizes made for one font, so a larger font or a longer translation would clip texts.
#pragma once

#include <QSize>

class QDialog;
class QWidget;

// The room a button's or one-line label's text takes in its current font (indicator and frame
// included); an empty size for other widgets.
QSize Dialog_TextRoom(const QWidget* control);

// Grows the dialog when a text does not fit its control: controls in layouts get at least their
// text's room, hand-placed controls and their boxes grow together by one factor, and the dialog
// (fixed size or not) by the same. Does nothing when everything fits, so default sizes stay.
void Dialog_FitControls(QDialog* dialog);
