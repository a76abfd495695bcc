#pragma once

class QLabel;
class QLineEdit;
class QString;
class QWidget;

// The windows keep the places and sizes they were designed with, in a font that may be wider
// than the desktop's. A caption that does not fit its control gets a smaller font, half a point
// at a time down to a floor that stays readable, rather than being cut off.
namespace FitText {

// The labels, check boxes and option buttons among the window's children.
void shrinkToFit(QWidget *window);

// An auto-sized label a point smaller than the window's font, and less where the desktop's font
// is wide, so that its text ends before the box beside it.
void fitBefore(QLabel *label, const QWidget *box);

// A text box whose font is made small enough that widest, the longest text it is to show, fits
// between its frame's edges.
void fitBox(QLineEdit *box, const QString &widest);

// Grows a fixed-size window so that every control placed in it ends inside its edges with a
// small margin: a design whose controls reach the edge would cut them off.
void growToHold(QWidget *window);

} // namespace FitText
