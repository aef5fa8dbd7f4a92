// The music stream on winmm's MCI: each music file is one open "mpegvideo"
// device, which decodes and plays on its own. Looping restarts the piece from
// its beginning when MCI reports that it has played through (MM_MCINOTIFY,
// sent to a message-only window of ours that the main loop's pump serves),
// since "play ... repeat" does not loop with every MCI driver.
#include "framework/sound/MusicStream.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace lum {

namespace {

struct Music {
    std::string alias;
};

struct Current {
    MusicStream::Ticket ticket = 0;
    Music* music = nullptr;
    bool loop = false;
    bool paused = false;
    bool started = false;
};

Current current;
MusicStream::Ticket lastTicket = 0;
unsigned long lastAlias = 0;
HWND notifyWindow = nullptr;

std::string mciError(MCIERROR code) {
    char text[256] = "";
    if (!mciGetErrorStringA(code, text, sizeof text)) return "MCI error " + std::to_string(code);
    return text;
}

MCIERROR send(const std::string& command, std::string* answer = nullptr, HWND callback = nullptr) {
    char buffer[128] = "";
    const MCIERROR code = mciSendStringA(command.c_str(), buffer, sizeof buffer, callback);
    if (answer) *answer = code == 0 ? buffer : "";
    return code;
}

bool play(std::string& error);

LRESULT CALLBACK notifyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A piece that played through while it is still ours and looping starts again.
    if (message == MM_MCINOTIFY && wParam == MCI_NOTIFY_SUCCESSFUL && current.started && current.loop &&
        !current.paused) {
        std::string ignored;
        play(ignored);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND notifier() {
    if (notifyWindow) return notifyWindow;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = notifyProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "lum_MusicNotify";
    RegisterClassExA(&windowClass);
    notifyWindow = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
    return notifyWindow;
}

bool play(std::string& error) {
    const MCIERROR code = send("play " + current.music->alias + " from 0 notify", nullptr, notifier());
    if (code == 0) {
        current.started = true;
        return true;
    }
    error = mciError(code);
    current = Current();
    return false;
}

void stopCurrent() {
    if (current.started) send("stop " + current.music->alias);
    current = Current();
}

std::string mode(const Music& music) {
    std::string answer;
    send("status " + music.alias + " mode", &answer);
    return answer;
}

} // namespace

void* MusicStream::load(const std::string& fileName, std::string& error) {
    // MCI's command language quotes names with double quotes; a name holding
    // one cannot be said.
    if (fileName.find('"') != std::string::npos) {
        error = "the file name cannot be given to MCI";
        return nullptr;
    }
    if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "no such file";
        return nullptr;
    }
    auto* music = new Music{"lum_music" + std::to_string(++lastAlias)};
    const MCIERROR code = send("open \"" + fileName + "\" type mpegvideo alias " + music->alias);
    if (code != 0) {
        error = mciError(code);
        delete music;
        return nullptr;
    }
    send("set " + music->alias + " time format milliseconds");
    return music;
}

void MusicStream::free(void* music) {
    if (!music) return;
    if (current.music == music) stopCurrent();
    auto* opened = static_cast<Music*>(music);
    send("close " + opened->alias);
    delete opened;
}

MusicStream::Ticket MusicStream::start(void* music, bool loop, bool paused, std::string& error) {
    stopCurrent();
    current.music = static_cast<Music*>(music);
    current.loop = loop;
    current.paused = paused;
    current.ticket = ++lastTicket;
    if (!paused && !play(error)) return 0;
    return current.ticket;
}

void MusicStream::setPaused(Ticket ticket, bool paused) {
    if (!isPlaying(ticket) || current.paused == paused) return;
    current.paused = paused;
    if (!current.started) {
        std::string ignored; // a refused start leaves the ticket not playing
        if (!paused) play(ignored);
    } else if (paused) {
        send("pause " + current.music->alias);
    } else {
        send("resume " + current.music->alias);
    }
}

bool MusicStream::isPlaying(Ticket ticket) {
    if (ticket == 0 || ticket != current.ticket) return false;
    if (!current.started || current.loop) return true;
    const std::string state = mode(*current.music);
    return state == "playing" || state == "paused" || state == "seeking";
}

bool MusicStream::isPaused(Ticket ticket) { return isPlaying(ticket) && current.paused; }

double MusicStream::position(Ticket ticket) {
    if (!isPlaying(ticket) || !current.started) return 0.0;
    std::string answer;
    if (send("status " + current.music->alias + " position", &answer) != 0) return 0.0;
    return std::strtod(answer.c_str(), nullptr) / 1000.0;
}

} // namespace lum
