// The program's process on a POSIX system: its signals and the children it starts.
#pragma once

#include <string>

// How the process takes its signals. SIGHUP (the terminal went away), SIGINT and SIGTERM ask it
// to end as a close does: `endRequested` says so from then on, and a byte is written to the pipe
// `endWake` reads, which the event loop's sleep watches, so it wakes at once. The children
// (`startDetached`) are never waited for: the system reaps them. A write past a file-size limit
// fails like any other write (the settings file then keeps its previous content) rather than
// ending the program.
void handleSignals();
bool endRequested();
// The read end of the wake pipe, or -1 when none could be made.
int endWake();

// Starts `program`, found on PATH, with one argument and leaves it to itself. 0, or the error
// number that says why it could not be started.
int startDetached(const char* program, const std::string& argument);
