// The program's identity: its title and the version tag its web links carry.
#pragma once

// The window title and the version tag the web links carry.
constexpr const char* appTitle = "Vok TicTacToe 1.2";
constexpr const char* versionTag = "dur1.2a";
