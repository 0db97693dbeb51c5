#pragma once
// Termination signals as quit requests: SIGHUP (the terminal closed), SIGINT, SIGTERM and SIGQUIT
// end the program through its normal shutdown, like closing the window; SIGPIPE is ignored.

// Installs the handlers, in place of the media library's own. Call before the window opens.
void catchTerminationSignals();

// True once for each arrival of a termination signal since the last call; the event poll turns it
// into a quit event.
bool takeTerminationRequest();
