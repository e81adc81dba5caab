// The program's process on a POSIX system: its signals and the children it starts.

#include "shell/posix/PosixProcess.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

namespace {

// A signal handler's state is the process's.
volatile std::sig_atomic_t endAsked = 0;
int wakePipe[2] = {-1, -1};

extern "C" void requestEnd(int) {
    endAsked = 1;
    const int saved = errno;
    if (write(wakePipe[1], "!", 1) < 0) {
        // A full pipe has woken the loop already.
    }
    errno = saved;
}

}  // namespace

void handleSignals() {
    // A write past a file-size limit must fail like any other write, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe[0] = wakePipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = requestEnd;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGHUP, SIGINT, SIGTERM}) {
        sigaction(signalNumber, &action, nullptr);
    }

    // The only children are the desktop's openers of web links, never waited for: the system
    // reaps them.
    struct sigaction children {};
    children.sa_handler = SIG_DFL;
    children.sa_flags = SA_NOCLDWAIT;
    sigemptyset(&children.sa_mask);
    sigaction(SIGCHLD, &children, nullptr);
}

bool endRequested() {
    return endAsked != 0;
}

int endWake() {
    return wakePipe[0];
}

int startDetached(const char* program, const std::string& argument) {
    std::string name = program;
    std::string text = argument;
    char* const arguments[] = {&name[0], &text[0], nullptr};
    // The child starts with the signals as a program expects them: not with the file-size
    // limit ignored, nor with its own children left to the system, as this process has them.
    posix_spawnattr_t attributes;
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program, nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    return error;
}
