// Shared pieces of the framework tests: a fixture that puts the headless App
// back to its just-built state, a state that writes its calls to a journal,
// and a reader for what the running program has added to its log.
#pragma once

#include "framework/App.h"
#include "framework/headless/HeadlessAppImpl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace spine {

using Journal = std::vector<std::string>;

class RecordingState : public lum::IAppState {
public:
    RecordingState(std::string name, Journal& journal) : name(std::move(name)), journal(journal) {}

    bool onCreate() override { return note("onCreate"); }
    bool onDestroy() override { return note("onDestroy"); }
    void onActivate() override { note("onActivate", activateHook); }
    void onDeactivate() override { note("onDeactivate", deactivateHook); }
    void onUpdate() override { note("onUpdate", updateHook); }
    void onRender(lum::Screen&) override { note("onRender", renderHook); }

    std::function<void()> activateHook, deactivateHook, updateHook, renderHook;

private:
    bool note(const char* call, const std::function<void()>& hook = nullptr) {
        journal.push_back(name + "." + call);
        if (hook) hook();
        return true;
    }

    std::string name;
    Journal& journal;
};

// The text the process has appended to "log.txt" since construction.
class LogTail {
public:
    LogTail() : start(std::filesystem::file_size("log.txt")) {}
    std::string text() const {
        std::ifstream file("log.txt", std::ios::binary);
        std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        return all.substr(start);
    }
    std::size_t count(const std::string& needle) const {
        const std::string all = text();
        std::size_t found = 0;
        for (auto at = all.find(needle); at != std::string::npos; at = all.find(needle, at + 1)) ++found;
        return found;
    }

private:
    std::uintmax_t start;
};

// Runs `call`, which must throw a std::runtime_error (or a type derived from
// it) carrying exactly `message`.
template <typename Call>
void expectRuntimeError(Call call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "nothing thrown; expected: " << message;
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), message);
    }
}

class SpineTest : public ::testing::Test {
protected:
    void SetUp() override { platform().reset(); }
    void TearDown() override { platform().reset(); }

    static lum::HeadlessAppImpl& platform() { return lum::HeadlessAppImpl::instance(); }
    static void run() { lum::application.run(800, 600, "Vellorin", "q4417093"); }
    // Ends the loop once every queued message has been handled.
    static void exitWhenQueueEmpty() {
        platform().onStep = [](lum::HeadlessAppImpl& headless) {
            if (headless.queuedMessages() == 0) lum::application.exit();
        };
    }
};

} // namespace spine
