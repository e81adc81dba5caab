// The Linux program's command line, read as a POSIX utility's.

#include "shell/posix/PosixCommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/DrawingSurface.h"

namespace {

constexpr const char* usage =
    "Usage: vok-tictactoe [--help] [--version] [--scale N]\n"
    "Noughts and crosses against the computer in a small window. Click a square to move,\n"
    "press N for a new game; \"Settings\" chooses who begins, the pieces and the computer's\n"
    "strength. The choices are kept in $XDG_CONFIG_HOME/vok/vudezazivaze/, or in\n"
    "~/.config/vok/vudezazivaze/ when XDG_CONFIG_HOME is not set.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --scale N  show the window N times larger (1 to 4; VOK_SCALE=N does the same); by\n"
    "             default the desktop's scale (GDK_SCALE, Xft.dpi or the screen's DPI)\n";

// A scale named on the command line or in VOK_SCALE, or 0 with the complaint made.
int namedScale(const char* where, const char* text) {
    const int scale = scaleNamed(text);
    if (scale == 0) {
        const bool given = text && *text;
        std::fprintf(stderr, "vok-tictactoe: %s wants a whole number from 1 to %d%s%s%s\n", where,
                     maxScale, given ? ", not '" : "", given ? text : "", given ? "'" : "");
    }
    return scale;
}

}  // namespace

int scaleNamed(const char* text) {
    if (!text || *text < '1' || *text > '9' || text[1] != '\0') {
        return 0;
    }
    return *text - '0' <= maxScale ? *text - '0' : 0;
}

int commandLine(int argc, char** argv, const char* version, int& scale) {
    scale = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", version);
            return 0;
        }
        if (std::strncmp(argv[i], "--scale=", 8) == 0 || std::strcmp(argv[i], "--scale") == 0) {
            const char* value = argv[i][7] == '=' ? argv[i] + 8 : i + 1 < argc ? argv[++i] : "";
            if ((scale = namedScale("--scale", value)) == 0) {
                return 2;
            }
            continue;
        }
        std::fprintf(stderr, "vok-tictactoe: unknown option '%s' (try --help)\n", argv[i]);
        return 2;
    }
    const char* fromEnvironment = std::getenv("VOK_SCALE");
    if (scale == 0 && fromEnvironment && *fromEnvironment &&
        (scale = namedScale("VOK_SCALE", fromEnvironment)) == 0) {
        return 2;
    }
    return -1;
}
