// Room for the panels' texts in the font the application really uses. The
// forms were drawn for a narrow font; where the system substitutes a wider
// one, the drawn sizes would cut labels, values and controls at the docks'
// edges. Nothing here makes a widget smaller than drawn.
#pragma once

class QWidget;

// Widens the edit boxes of fixed width under root, all to one width, so that
// each shows its value, and the values at the ends of its slider, whole.
void fitEditBoxesToText(QWidget* root);

// Gives every scroll area under root that does not scroll sideways a minimum
// width that holds its contents at their minimum size, with room for the
// vertical scroll bar, so that its dock cannot be made narrower than its
// controls.
void fitScrollAreasToContents(QWidget* root);

// Widens the labels under root that were drawn with a minimum width (the
// read-outs that the view rewrites while it runs) to hold their text.
void fitLabelsToText(QWidget* root);
