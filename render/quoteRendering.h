// Drawing the quote and the mark round the typing box, by event.
//
// The scene: the quote with the current word underlined, black on white, and round the typing box
// its mark: the red frame while the box's text is wrong; once the frame is erased by its own pass,
// a faint hairline until a pass covers the frame's band again (nothing under Wine). Each event
// builds one pass (areas it changed, grown to glyph origins or not; the frame's band where the box
// is now, or not; the mark drawn) and commitPass carries it out; every pass leaves what a whole
// repaint of the same state would (the hairline aside). "Wrong": red while the text is wrong.
//
// | event                          | call               | areas (grown?)           | band   | mark drawn, after |
// |--------------------------------|--------------------|--------------------------|--------|-------------------|
// | new quote, retry, settings     | paintQuote         | the whole client area    | -      | wrong, wrong      |
// | paint message                  | paintQuoteWithin   | the part asked for (yes) | -      | wrong, or as shown|
// | the box's text turns wrong     | showMismatchFrame  | none                     | yes    | red, red          |
// | the box's text is right again  | clearMismatchFrame | none                     | yes    | hairline, hairline|
// |                                |                    |                          |        | (none under Wine) |
// | a word completed               | paintCompletedWord | underlines of the word   | if any | wrong, wrong      |
// |                                |                    | done and the next (no)   | shown  |                   |
// | the results take the box away  | paintBoxGone       | no pass: the band as a paint message (above); none |
// | layout request, real resize    | rebuildTextLayout  | no pass: a new layout, its underline off; the      |
// |                                |                    | system's paint messages (and the moved controls')  |
// | lost device (EndDraw says so)  | (any pass)         | no pass: target and brushes made again; a whole    |
// |                                |                    | paint message                                      |
// | the target's first making      | (any pass)         | made as the pass begins; the pass goes on          |
// | minimised window               | (any pass)         | nothing drawn, the mark recorded; restored, a whole|
// |                                |                    | paint message                                      |
#pragma once

#include <windows.h>

// A new text layout of the current quote for the current client size and text format.
void rebuildTextLayout();

void paintQuote();
void paintQuoteWithin(const RECT& area);
void showMismatchFrame();
void clearMismatchFrame();
// The box is about to be emptied with a completed word: its frame goes with the word's pass,
// and the emptied box's own change clears nothing.
void takeFrameAwayWithWordPass();
void paintCompletedWord();
void paintBoxGone();
