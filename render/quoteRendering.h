// Drawing the quote and the mark round the typing box.
//
// The scene: the quote with the current word underlined, black on white, and round the typing box
// the red frame while its text is wrong; once the frame is erased, a faint hairline on the
// window's own target until the scene changes (Wine draws it as nothing). The renderer keeps a
// record of what the target shows and brings it to what the attempt asks in one routine, which
// draws only the areas that differ (and those the target lost), so a call with nothing changed
// draws nothing. The calls below say what happened, never how to draw it.
#pragma once

#include <windows.h>

// A new text layout of the current quote for the current client size and text format.
void rebuildTextLayout();

// Everything again (a new quote, a retry, new settings).
void paintQuote();
// The target lost this part of the client area (a paint message).
void paintQuoteWithin(const RECT& area);
// The box's text is wrong; it is right again (or empty).
void showMismatchFrame();
void clearMismatchFrame();
