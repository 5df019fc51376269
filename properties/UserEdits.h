// Whether the user has given a number box a value: typed one into it or
// stepped it (arrow keys, its buttons) since it took the focus. Only such a value is applied when the
// box's editing finishes; a click into the box and out again, Tab or Return
// over a value the program showed changes nothing. Showing a value in the box
// (a setter, the panel following the selection) forgets what the user typed.
#pragma once

class QDoubleSpinBox;

namespace user_edits {

// Starts watching `box` (once; the watch belongs to the box).
void watch(QDoubleSpinBox* box);
// True when the user gave the box a value since it was last taken or
// forgotten; the mark is cleared. A box that is not watched counts as edited.
bool take(QDoubleSpinBox* box);
// The program showed a value in the box.
void forget(QDoubleSpinBox* box);

} // namespace user_edits
