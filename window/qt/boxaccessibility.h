// What a screen reader is told of Text1. QScintilla's own description reads the box's text
// aloud, and keeps the reader's caret up to date by counting the characters before the caret
// each time the box changes on screen: with the caret at the end of 50 MB, about 200 ms a time,
// after a paste and at every key typed there. Until an assistive technology is there to listen,
// the box is described without its text, as an editable box with its name; while one is, that
// description gives way to QScintilla's.
#pragma once

namespace zanvo {

// Takes effect for every box from the first call on (UI thread).
void describeBoxesQuietly();

} // namespace zanvo
