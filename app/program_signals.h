// SIGTERM and SIGINT end the program the way closing its main window does: the queue is stopped
// (outputs already completed stay), open boxes and dialogs close, and the program returns from
// its message loop with exit code 0. A second signal while that runs ends the process at once.
#pragma once

// Blocks the two signals in the calling thread (and so in every thread it starts later) and
// starts the thread that waits for them. Call it first in main, before any other thread exists.
void WatchTerminationSignals();

// On the UI thread: what a signal asks for. Closes the main window (whose close stops the queue)
// or, before it exists, ends the message loop; every modal loop ends with it.
void EndProgramOnRequest();
