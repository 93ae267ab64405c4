#pragma once

class QWidget;

// Delivers what the window system held back during a wait that excluded
// user input (QEventLoop::ExcludeUserInputEvents) and drops the clicks, keys
// and wheel turns among it that were meant for `window`: a pupil's clicks
// during a melody must not act on the screen after its last note.
void DropHeldInput(QWidget *window);
