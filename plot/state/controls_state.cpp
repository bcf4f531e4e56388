#include "plot/state/controls_state.h"

KeyQueue keyQueue;
bool keyHit = false;
TypingState typingState;
MouseState mouseState;
MouseRequests mouseRequests;
PointerSettling pointerSettling;
