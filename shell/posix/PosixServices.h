// The window-system services a POSIX desktop gives without the window system.
#pragma once

#include "platform/WindowServices.h"
#include "shell/posix/PosixFiles.h"

// The calendar clock, the settings folder and the settings file's steps (PosixFiles), and web
// addresses handed to the desktop's opener. A front end adds the window's own operations.
class PosixServices : public WindowServices {
  public:
    // How the settings file names a save's temporary files.
    explicit PosixServices(const TemporaryNames& names) : temporaryNames(names) {}

    void openUrl(const std::string& address) override;
    std::int64_t clockSeconds() override;
    std::string settingsBase() override;
    bool makeFolders(const std::string& folder, std::string& why) override;
    bool readFile(const std::string& path, std::size_t limit, std::string& bytes) override;
    bool replaceFileContent(const std::string& path, const std::string& bytes,
                            std::string& why) override;

  private:
    TemporaryNames temporaryNames;
};
