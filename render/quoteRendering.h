// Drawing the quote and the mark round the typing box, by event.
//
// The scene is the quote with the current word underlined, black on white, and round the typing
// box its mark: the red frame while the box's text is wrong; once the frame is erased by its own
// pass, a faint hairline that stays until a pass covers the frame's band again. Each event draws
// only what it changes, and every pass leaves exactly what a whole repaint of the same state
// would leave (the hairline aside):
//
// | event                               | call               | drawn                          | mark after       |
// |-------------------------------------|--------------------|--------------------------------|------------------|
// | new quote, retry, settings saved    | paintQuote         | the whole client area          | red if wrong     |
// | paint message                       | paintQuoteWithin   | the part asked for             | red if wrong, or |
// |                                     |                    |                                | as it was        |
// | the box's text turns wrong          | showMismatchFrame  | the frame's band               | red              |
// | the box's text is a beginning again | clearMismatchFrame | the frame's band               | hairline         |
// | a word completed                    | paintCompletedWord | the underline boxes of the     | none             |
// |                                     |                    | word done and the next; the    |                  |
// |                                     |                    | band if marked                 |                  |
// | the results take the box away       | paintBoxGone       | the band where the box was,    | none             |
// |                                     |                    | if marked, with the box's      |                  |
// |                                     |                    | place (by a paint message)     |                  |
#pragma once

#include <windows.h>

// A new text layout of the current quote for the current client size and text format.
void rebuildTextLayout();

void paintQuote();
void paintQuoteWithin(const RECT& area);
void showMismatchFrame();
void clearMismatchFrame();
void paintCompletedWord();
void paintBoxGone();
