// The settings file's steps on a POSIX file system: its folder, a bounded read, an atomic replace.

#include "shell/posix/PosixFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder part of a path, with its slash; "./" for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file `path` finally names once every symbolic link on the way is followed; it may not
// exist yet (a first save, or a link whose target is still to be written).
bool finalTarget(const std::string& path, std::string& target, std::string& why) {
    target = path;
    // As many links as the system itself follows before it gives up.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return true;
            }
            why = reason(errno);
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            return true;
        }
        char link[4096];
        const ssize_t length = readlink(target.c_str(), link, sizeof link - 1);
        if (length <= 0) {
            why = reason(length < 0 ? errno : ENOENT);
            return false;
        }
        const std::string linked(link, static_cast<std::size_t>(length));
        target = linked[0] == '/' ? linked : folderOf(target) + linked;
    }
    why = reason(ELOOP);
    return false;
}

// Temporary files that savers killed in the middle of a save left in `folder`. Another saver
// that is still running keeps its own.
void removeOrphans(const std::string& folder, const std::string& name,
                   const TemporaryNames& names) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return;
    }
    while (const dirent* each = readdir(dir)) {
        const long pid = names.owner(each->d_name, name);
        if (pid != 0 && pid != static_cast<long>(getpid()) &&
            kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            unlink((folder + each->d_name).c_str());
        }
    }
    closedir(dir);
}

// A new file of this save's own beside `target`: created exclusively, so neither another saver's
// file nor a link planted at the name is ever written through. The names this process tries
// follow one count, so two attempts never share one.
int createTemporary(const std::string& target, const TemporaryNames& names, std::string& temp,
                    std::string& why) {
    static unsigned attempts = 0;
    for (int tries = 0; tries < names.tries; ++tries) {
        temp = names.name(target, static_cast<long>(getpid()), attempts++);
        const int file =
            open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file >= 0 || errno != EEXIST) {
            if (file < 0) {
                why = reason(errno);
            }
            return file;
        }
    }
    why = reason(EEXIST);
    return -1;
}

bool writeAll(int file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool makeFolderPath(const std::string& folder, std::string& why) {
    if (folder.empty()) {
        why = reason(ENOENT);
        return false;
    }
    // Each level in turn, from the root down; levels that exist are left as they are.
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find('/', end + 1);
        const std::string level = folder.substr(0, end);
        if (level.back() == '/') {
            continue;
        }
        if (mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
            why = reason(errno);
            return false;
        }
        if (!isFolder(level)) {
            why = level + " is not a folder";
            return false;
        }
    }
    return true;
}

bool readRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
    // Not blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    struct stat info;
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(file);
        return false;
    }
    bytes.assign(limit, '\0');
    std::size_t done = 0;
    bool ok = true;
    while (done < limit) {
        const ssize_t got = read(file, &bytes[done], limit - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    close(file);
    bytes.resize(done);
    return ok;
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes,
                           const TemporaryNames& names, std::string& why) {
    std::string target;
    if (!finalTarget(path, target, why)) {
        return false;
    }
    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        why = "not a regular file";
        return false;
    }
    // Replacing needs only the right to write the folder; the file's own say counts too.
    if (exists && access(target.c_str(), W_OK) != 0) {
        why = reason(errno);
        return false;
    }
    const std::string folder = folderOf(target);
    removeOrphans(folder, nameOf(target), names);

    std::string temp;
    const int file = createTemporary(target, names, temp, why);
    if (file < 0) {
        return false;
    }
    // The new file keeps the old one's permissions and, where allowed, its owner.
    if (exists) {
        if (fchown(file, old.st_uid, old.st_gid) != 0) {
            // Only the superuser may give a file away; the saver's own ownership will do.
        }
        fchmod(file, old.st_mode & 07777);
    }
    // The new content reaches the disk before it takes the old file's name, so a crash
    // leaves one whole file or the other.
    bool ok = writeAll(file, bytes) && fsync(file) == 0;
    int error = errno;
    if (close(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        why = reason(error);
        return false;
    }
    // The new name itself is on disk once the folder is.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

std::string settingsBaseFor(const char* xdgConfigHome, const char* home) {
    std::string base;
    // Only an absolute path counts; a relative one would depend on where the game was started.
    if (xdgConfigHome && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else if (home && home[0] == '/') {
        base = home;
        if (base.back() != '/') {
            base += '/';
        }
        base += ".config";
    } else {
        return {};
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base == "/" ? base : base + "/";
}

std::string userSettingsBase() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return settingsBaseFor(std::getenv("XDG_CONFIG_HOME"), home);
}
