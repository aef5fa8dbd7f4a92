// The audio output on Windows: winmm's wave devices, which MCI plays through.
// There is nothing to open ahead of the music; a machine without an output
// device is reported once and the game runs silently.
#include "framework/sound/AudioDevice.h"

#include "framework/Log.h"

#include <windows.h>

namespace lum {

namespace {

int userCount = 0;
bool failureLogged = false;

} // namespace

bool AudioDevice::acquire() {
    if (waveOutGetNumDevs() == 0) {
        if (!failureLogged) log.warning("No sound: there is no audio output device; the game runs silently.");
        failureLogged = true;
        return false;
    }
    failureLogged = false;
    ++userCount;
    return true;
}

void AudioDevice::release() {
    if (userCount > 0) --userCount;
}

int AudioDevice::users() { return userCount; }

} // namespace lum
