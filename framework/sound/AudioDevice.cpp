// Opening the shared audio device for its first user and closing it at exit.
#include "framework/sound/AudioDevice.h"

#include "framework/Log.h"
#include "framework/sound/QuietStderr.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace lum {

namespace {

int userCount = 0;
bool deviceOpen = false;
// Set after a failure has been logged, so a game without sound warns once,
// not at every visit to the menu and every match.
bool failureLogged = false;

void reportFailure(const std::string& what) {
    if (failureLogged) return;
    failureLogged = true;
    log.warning("No sound: " + what + " (" + SDL_GetError() + "); the game runs silently.");
}

// SDL's audio brings up its event subsystem, which would take over SIGINT and
// SIGTERM when nothing else of SDL runs yet; the program's own handlers and
// the terminal's Ctrl+C stay as they are.
int initAudioWithoutSignalHandlers() {
    const char* previous = SDL_GetHint(SDL_HINT_NO_SIGNAL_HANDLERS);
    const std::string saved = previous ? previous : "";
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const int result = SDL_InitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, previous ? saved.c_str() : nullptr);
    return result;
}

bool openDevice() {
    QuietStderr quiet;
    if (initAudioWithoutSignalHandlers() != 0) {
        reportFailure("the audio driver could not be started");
        return false;
    }
    if (Mix_OpenAudio(AudioDevice::sampleRate, AUDIO_S16SYS, AudioDevice::channels, AudioDevice::bufferFrames) != 0) {
        reportFailure("the audio device could not be opened");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void closeDevice() {
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // With nothing else of SDL in use (a program with sound but no window),
    // SDL's own bookkeeping is freed as well.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

// Closes the device at program exit. Built when the device first opens, so it
// is destroyed before the log and the App, which exist from the start.
struct DeviceCloser {
    ~DeviceCloser() {
        if (deviceOpen) closeDevice();
        deviceOpen = false;
    }
};

} // namespace

bool AudioDevice::acquire() {
    if (!deviceOpen) {
        if (!openDevice()) return false;
        deviceOpen = true;
        failureLogged = false;
        static DeviceCloser closer;
    }
    ++userCount;
    return true;
}

void AudioDevice::release() {
    if (userCount == 0) return;
    // The device stays open while nobody uses it: closing and reopening it at
    // every switch between the menu and a match would stall the frame loop
    // for a noticeable moment (the driver waits for its audio thread).
    if (--userCount == 0) Mix_HaltMusic();
}

int AudioDevice::users() { return userCount; }

} // namespace lum
