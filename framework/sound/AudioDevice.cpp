// Opening and closing the shared audio device, reference-counted over its users.
#include "framework/sound/AudioDevice.h"

#include "framework/Log.h"
#include "framework/sound/QuietStderr.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace lum {

namespace {

int userCount = 0;
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

} // namespace

bool AudioDevice::acquire() {
    if (userCount == 0) {
        if (!openDevice()) return false;
        failureLogged = false;
    }
    ++userCount;
    return true;
}

void AudioDevice::release() {
    if (userCount == 0) return;
    if (--userCount == 0) closeDevice();
}

int AudioDevice::users() { return userCount; }

} // namespace lum
