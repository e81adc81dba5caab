// The program's identity: its title and the version tag its web links carry.
#pragma once

// Both are made of the project's version, which the build passes from CMakeLists.txt.
#ifndef VOK_VERSION
#error "VOK_VERSION (the project's version) is set by the build: build with CMake"
#endif
constexpr const char* appTitle = "Vok TicTacToe " VOK_VERSION;
constexpr const char* versionTag = "dur" VOK_VERSION "a";
