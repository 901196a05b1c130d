// The number fields of the editing dialogs: writers that put a number into an edit box, and
// readers that take it out again with the forgiving syntax check every dialog shares. A reader
// that meets text it refuses says so (exclamation box), writes its fallback into the box and
// goes on with it, so one Apply reads every box even when several are wrong.
#pragma once

class QLineEdit;

namespace y4 {

// Six significant digits, no trailing zeros, exponent form from 1e6 and below 1e-4.
void putFloat(QLineEdit& box, float value);
void putInt(QLineEdit& box, int value);

// Text made of digits, ".", "-", "e" and "E" (and a "+" right after an "e" or "E", as putFloat
// writes large numbers) reads as atof reads it; empty text reads as 0. Refused text, and a number
// beyond the float range, shows "Error: Invalid value; defaulting to 1.0", leaves "1.0" in the
// box and reads as 1.
float getFloat(QLineEdit& box);
// As getFloat, with the message "Error: Invalid value; defaulting to <fallback as %.2f>" and the
// fallback written back with putFloat.
float getFloatOr(QLineEdit& box, float fallback);
// Digits only; empty text reads as 0. Refused text shows "Error: Invalid value; defaulting to
// <fallback>" and leaves the fallback in the box.
int getInt(QLineEdit& box, int fallback);

}  // namespace y4
