// The music stream on winmm's MCI: each music file is one open "mpegvideo"
// device, which decodes and plays on its own. Looping restarts the piece from
// its beginning when MCI reports that it has played through (MM_MCINOTIFY,
// sent to a message-only window of ours that the main loop's pump serves),
// since "play ... repeat" does not loop with every MCI driver. A notice names
// only the device, so one counts only when it comes from the current piece's
// device and was posted after the piece last started: every start and stop
// drops the notices already queued, those of pieces stopped, replaced or
// closed, whose device number a newer piece may have been given.
#include "framework/sound/MusicStream.h"

#include "framework/sound/MusicStreamState.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace lum {

namespace {

struct Music {
    std::string alias;
    MCIDEVICEID device = 0;
};

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

Music& piece(void* music) { return *static_cast<Music*>(music); }

void dropNotices() {
    MSG message;
    while (notifyWindow && PeekMessageA(&message, notifyWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
    }
}

// By the time "stop" returns, MCI has posted every notice the play will give.
void stop(void* music) {
    send("stop " + piece(music).alias);
    dropNotices();
}

HWND notifier();

bool play(void* music, bool, std::string& error) {
    // Stopped first: the driver's wait for the last play-through ends, so
    // nothing left of it can stop this play.
    stop(music);
    const MCIERROR code = send("play " + piece(music).alias + " from 0 notify", nullptr, notifier());
    if (code == 0) return true;
    error = mciError(code);
    return false;
}

// Volume 0 rather than "setaudio ... off", which not every MCI driver takes.
void mute(void* music, bool muted) {
    send("setaudio " + piece(music).alias + " volume to " + (muted ? "0" : "1000"));
}

MusicStreamState stream({play, [](void* music) { send("pause " + piece(music).alias); },
                         [](void* music) { send("resume " + piece(music).alias); }, stop, mute});

bool playedThrough(WPARAM status, LPARAM device) {
    // Some drivers (Wine's, for one) give 0 for the device: with the earlier
    // notices dropped, such a notice can only be the current piece's.
    return status == MCI_NOTIFY_SUCCESSFUL && stream.started() &&
           (device == 0 || device == static_cast<LPARAM>(piece(stream.music()).device));
}

LRESULT CALLBACK notifyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_MCINOTIFY) return DefWindowProcA(window, message, wParam, lParam);
    // A notice that finds the piece paused was posted just before the pause:
    // it starts again from its beginning at the resume.
    if (playedThrough(wParam, lParam) && stream.loops()) stream.replay();
    return 0;
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
    music->device = mciGetDeviceIDA(music->alias.c_str());
    send("set " + music->alias + " time format milliseconds");
    return music;
}

void MusicStream::free(void* music) {
    if (!music) return;
    if (stream.music() == music) stream.stop();
    send("close " + piece(music).alias);
    delete static_cast<Music*>(music);
}

MusicStream::Ticket MusicStream::start(void* music, bool loop, bool paused, std::string& error) {
    return stream.start(music, loop, paused, error);
}

void MusicStream::setPaused(Ticket ticket, bool paused) {
    if (isPlaying(ticket)) stream.setPaused(paused);
}

bool MusicStream::isPlaying(Ticket ticket) {
    if (!stream.holds(ticket)) return false;
    if (!stream.started() || stream.loops()) return true;
    const std::string state = mode(piece(stream.music()));
    return state == "playing" || state == "paused" || state == "seeking";
}

bool MusicStream::isPaused(Ticket ticket) { return isPlaying(ticket) && stream.paused(); }

double MusicStream::position(Ticket ticket) {
    if (!isPlaying(ticket) || !stream.started()) return 0.0;
    std::string answer;
    if (send("status " + piece(stream.music()).alias + " position", &answer) != 0) return 0.0;
    return std::strtod(answer.c_str(), nullptr) / 1000.0;
}

void MusicStream::setMuted(bool muted) { stream.setMuted(muted); }

} // namespace lum
