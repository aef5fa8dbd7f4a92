// The audio output of the web version: the browser's own. There is nothing to
// open; a browser without audio elements is reported once and the game runs
// silently. When the last user lets go, the music stops, as on the desktop.
#include "framework/sound/AudioDevice.h"

#include "framework/Log.h"

#include <emscripten/emscripten.h>

namespace lum {

namespace {

int userCount = 0;
bool failureLogged = false;

EM_JS(int, lumBrowserHasAudio, (), { return typeof Audio === 'function' ? 1 : 0; });

EM_JS(void, lumStopAllMusic, (), {
    var music = Module.lumMusic;
    if (!music) return;
    Object.keys(music.pieces).forEach(function(id) { music.stop(music.pieces[id]); });
});

} // namespace

bool AudioDevice::acquire() {
    if (!lumBrowserHasAudio()) {
        if (!failureLogged) log.warning("No sound: this browser cannot play audio; the game runs silently.");
        failureLogged = true;
        return false;
    }
    failureLogged = false;
    ++userCount;
    return true;
}

void AudioDevice::release() {
    if (userCount == 0) return;
    if (--userCount == 0) lumStopAllMusic();
}

int AudioDevice::users() { return userCount; }

} // namespace lum
