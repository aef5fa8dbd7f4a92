// The game tests' fixture and scripted runs.
#include "GameTest.h"

#include "framework/TimerImpl.h"
#include "game/gameState.h"
#include "shell/gameOver.h"
#include "shell/gamePaused.h"
#include "shell/mainMenu.h"
#include "shell/vellorinMain.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

int timersInUse() {
    int count = 0;
    for (unsigned int slot = 0; slot < lum::TimerImpl::SLOTS; ++slot) count += lum::TimerImpl::inSlot(slot) != nullptr;
    return count;
}

bool hears(lum::IKeyEvent* listener) {
    for (const auto& entry : lum::application.getImpl().getKeyListeners().getEntries()) {
        if (entry.listener == listener && entry.active && !entry.removed) return true;
    }
    return false;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder() : before(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "vellorin-game-XXXXXX").string();
    path = mkdtemp(pattern.data());
    fs::current_path(path);
}

ScratchFolder::~ScratchFolder() {
    fs::current_path(before);
    fs::remove_all(path);
}

void FieldTest::SetUp() {
    app.reset();
    const char* names[] = {"main", "pause", "game_over", "menu"};
    for (int i = 0; i < 4; ++i) app.addState(names[i], idle[i]);
    app.initialise(800, 600, "Vellorin", "test", 60);
    std::srand(1234);
    logSeen = readFile("log.txt").size();
}

std::string FieldTest::requests() {
    const std::string log = readFile("log.txt");
    const std::string marker = " is ready to become the active state.";
    std::string found;
    for (auto at = log.find(marker, logSeen); at != std::string::npos; at = log.find(marker, at + 1)) {
        const auto start = log.rfind("I: ", at) + 3;
        found += (found.empty() ? "" : ",") + log.substr(start, at - start);
    }
    logSeen = log.size();
    return found;
}

GameRun::GameRun() : app(lum::HeadlessAppImpl::instance()) {
    app.reset();
}

GameRun::~GameRun() {
    app.reset();
}

int GameRun::run() {
    app.onStep = [this](lum::HeadlessAppImpl&) { step(); };
    app.onPresent = [this](const lum::Screen& screen) {
        if (onFrame) onFrame(screen);
    };
    return vellorinMain();
}

void GameRun::step() {
    if (auto* found = dynamic_cast<mainMenu*>(app.getActiveState())) menu = found;
    if (auto* found = dynamic_cast<gamePaused*>(app.getActiveState())) pause = found;
    if (menu != nullptr) play = menu->playState;
    if (play != nullptr) over = play->gameOverState;
    if (seconds() > timeLimit) {
        ADD_FAILURE() << "still running after " << timeLimit << " s, in phase " << done;
        lum::application.exit();
    }
    while (done < phases.size() && phases[done](*this)) ++done;
}

std::string GameRun::state() const {
    lum::IAppState* active = app.getActiveState();
    if (dynamic_cast<mainMenu*>(active)) return "menu";
    if (dynamic_cast<gameState*>(active)) return "main";
    if (dynamic_cast<gamePaused*>(active)) return "pause";
    if (dynamic_cast<gameOver*>(active)) return "game_over";
    return "";
}

GameRun& GameRun::then(Phase phase) {
    phases.push_back(std::move(phase));
    return *this;
}

GameRun& GameRun::until(const std::string& name) {
    return then([name](GameRun& run) { return run.state() == name; });
}

GameRun& GameRun::keys(std::vector<unsigned int> codes, lum::ButtonState only) {
    return then([codes, only](GameRun& run) {
        for (unsigned int code : codes) {
            if (only != 0) run.app.queueKey(code, only);
            else run.app.queueKeyPress(code);
        }
        return true;
    });
}

GameRun& GameRun::frames(std::uint64_t count, bool steer) {
    std::uint64_t target = 0;
    return then([count, steer, target](GameRun& run) mutable {
        if (target == 0) target = run.app.getFramesPresented() + count;
        if (steer) run.steerRound();
        return run.app.getFramesPresented() >= target;
    });
}

GameRun& GameRun::act(std::function<void(GameRun&)> action) {
    return then([action](GameRun& run) {
        action(run);
        return true;
    });
}

GameRun& GameRun::startMatch(bool onePlayer) {
    until("menu");
    if (onePlayer) keys({lum::KEY_DOWN, lum::KEY_SPACE, lum::KEY_UP});
    return keys({lum::KEY_SPACE}).until("main");
}

void GameRun::steerRound() {
    if (state() != "main" || app.queuedMessages() != 0) return;
    const snake& s = play->playerSnake;
    const int x = s.head->x, y = s.head->y;
    if (s.direction == snake::UP && y >= 500) app.queueKeyPress(lum::KEY_RIGHT);
    if (s.direction == snake::RIGHT && x >= 700) app.queueKeyPress(lum::KEY_DOWN);
    if (s.direction == snake::DOWN && y <= 100) app.queueKeyPress(lum::KEY_LEFT);
    if (s.direction == snake::LEFT && x <= 100) app.queueKeyPress(lum::KEY_UP);
}
