#include "platform/WindowServices.h"

namespace {

class InertServices : public WindowServices {
  public:
    void startTimer(int, int) override {}
    void setWindowSize(int, int) override {}
    void clientSize(int& width, int& height) override { width = height = 0; }
    void setOpacity(int) override {}
    void setTopmost(bool) override {}
    ScreenRect windowRect() override { return {}; }
    void screenSize(int& width, int& height) override { width = height = 0; }
    void openUrl(const std::string&) override {}
    bool leftButtonDown() override { return false; }
    std::int64_t clockSeconds() override { return 0; }
    std::string settingsBase() override { return {}; }
    bool makeFolders(const std::string&, std::string& why) override {
        why = "no file system";
        return false;
    }
    bool readFile(const std::string&, std::size_t, std::string&) override { return false; }
    bool replaceFileContent(const std::string&, const std::string&, std::string& why) override {
        why = "no file system";
        return false;
    }
};

InertServices inert;
WindowServices* current = &inert;

}  // namespace

WindowServices& windowServices() {
    return *current;
}

void setWindowServices(WindowServices* services) {
    current = services ? services : &inert;
}
