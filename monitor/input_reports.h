// Telling the user about the audio input: one line when there is none at
// start or it is lost, one when it delivers again. Nothing while all goes
// well. Main thread.
#pragma once

// Tells what changed in currentInput (capture_stream.h) since the last call.
void tellInputChanges();
