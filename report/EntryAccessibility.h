// The entry window's own controls as a screen reader finds them: a date picker reads as the date
// it holds (nothing for a row without a date) and offers its calendar as an action, and the layer
// a frame's fields sit on is a nameless filler.
#pragma once

// Before a screen reader first asks about such a control; safe to call more than once.
void ExposeEntryControls();
