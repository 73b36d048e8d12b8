#pragma once
// Fresh user defaults with the application's defaults registered, and a host
// that records what the application asks of it.

#include <string>
#include <vector>

#include "document/app/GXApplicationDelegate.h"
#include "platform/core/user_defaults.h"

namespace ch::test {

struct RegisteredDefaults {
    RegisteredDefaults() : scoped(defaults) { GXApplicationDelegate::initialize(defaults); }
    UserDefaults defaults;
    ScopedUserDefaults scoped;
};

class RecordingHost : public ApplicationHost {
public:
    void openFile(const std::string& path) override { calls.push_back("open " + path); }
    void openDocument() override { calls.push_back("open panel"); }
    void newDocument() override { calls.push_back("new"); }
    void openURL(const std::string& url) override { calls.push_back("url " + url); }
    void beginStartupChoice() override { calls.push_back("startup choice"); }
    void terminate() override { calls.push_back("terminate"); }

    std::vector<std::string> calls;
};

} // namespace ch::test
