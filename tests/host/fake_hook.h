// A keyboard hook that only counts: how many are installed right now, and every call in order.
#pragma once

#include <string>
#include <vector>

#include "host/keyboard_capture.h"

namespace t30 {

class FakeHookPort final : public KeyboardHookPort {
  public:
    int installed = 0;
    int maxInstalled = 0;
    WindowRef target = nullptr;
    bool failInstall = false;
    std::vector<std::string> log;

    bool install(WindowRef t) override {
        log.push_back("install");
        if (failInstall) {
            return false;
        }
        target = t;
        ++installed;
        if (installed > maxInstalled) {
            maxInstalled = installed;
        }
        return true;
    }
    void remove() override {
        log.push_back("remove");
        if (installed > 0) {
            --installed;
        }
    }
};

}  // namespace t30
