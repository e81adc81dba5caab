// The Linux program's command line, read as a POSIX utility's: its help, its version, the
// scale; answers on stdout, complaints on stderr, exit code 2 for what it refuses.
#pragma once

// A scale asked for by name (`--scale N`, VOK_SCALE): a whole number 1..maxScale, else 0.
int scaleNamed(const char* text);

// Answers --help and --version (which prints `version`), takes --scale (or VOK_SCALE), and
// refuses what it does not know. -1 when the game is to start, otherwise the exit code. `scale`
// is 0 when none was named.
int commandLine(int argc, char** argv, const char* version, int& scale);
