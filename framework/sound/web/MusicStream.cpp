// The music stream of the web version: each music file is an HTMLAudioElement
// playing the file's bytes from the page's file system, which the browser
// decodes and plays on its own. Browsers may refuse to start sound before the
// player's first key press or click; the music then keeps its place as if it
// were heard, and at the first key press it starts at the point it would have
// reached by then. Pausing keeps the position; looping is the element's own.
// Muting mutes every element, those loaded later too.
#include "framework/sound/MusicStream.h"

#include <emscripten/emscripten.h>

#include <cstdint>

namespace lum {

namespace {

// The page's side: Module.lumMusic keeps the pieces by number, and as
// `current` the one last started and not stopped since. A piece's
// place is `base` seconds at `baseTime` (ms, the page's clock) while it is
// meant to sound, read from the element itself whenever the browser plays it.
EM_JS(void, lumMusicSetUp, (), {
    if (Module.lumMusic) return;
    var music = {pieces: {}, next: 1, muted: false};
    Module.lumMusic = music;
    music.place = function(piece) {
        var seconds;
        if (!piece.blocked) seconds = piece.audio.currentTime;
        else if (piece.wanted) seconds = piece.base + (performance.now() - piece.baseTime) / 1000;
        else seconds = piece.base;
        var length = piece.audio.duration;
        if (piece.loop && isFinite(length) && length > 0) seconds %= length;
        return seconds;
    };
    music.play = function(piece) {
        piece.wanted = true;
        piece.baseTime = performance.now();
        piece.audio.loop = piece.loop;
        var started = piece.audio.play();
        if (!started) return;
        started.then(function() { piece.blocked = false; }, function() {
            // Refused until the player's first gesture: keep time without sound.
            if (piece.wanted) piece.blocked = true;
        });
    };
    music.pause = function(piece) {
        piece.base = music.place(piece);
        piece.wanted = false;
        piece.audio.pause();
    };
    music.stop = function(piece) {
        if (music.current === piece) music.current = null;
        piece.wanted = false;
        piece.blocked = false;
        piece.base = 0;
        piece.audio.pause();
        piece.audio.currentTime = 0;
    };
    music.ended = function(piece) {
        if (piece.loop) return false;
        if (!piece.blocked) return piece.audio.ended;
        var length = piece.audio.duration;
        return isFinite(length) && music.place(piece) >= length;
    };
    var unblock = function() {
        Object.keys(music.pieces).forEach(function(id) {
            var piece = music.pieces[id];
            if (!piece.blocked || !piece.wanted || music.ended(piece)) return;
            var seconds = music.place(piece);
            piece.blocked = false;
            piece.base = seconds;
            piece.audio.currentTime = seconds;
            music.play(piece);
        });
    };
    ['keydown', 'mousedown', 'touchstart'].forEach(function(type) {
        window.addEventListener(type, unblock, true);
    });
});

// 0, or -1 without the file, -2 when the browser cannot play its kind.
EM_JS(int, lumMusicLoad, (const char* fileName), {
    var name = UTF8ToString(fileName);
    if (!FS.analyzePath(name).exists) return -1;
    var type = name.toLowerCase().endsWith('.mp3') ? 'audio/mpeg' : "";
    var audio = new Audio();
    if (type && audio.canPlayType(type) === "") return -2;
    var url = URL.createObjectURL(new Blob([FS.readFile(name)], type ? {type: type} : {}));
    audio.preload = 'auto';
    audio.muted = Module.lumMusic.muted;
    audio.src = url;
    var music = Module.lumMusic;
    var id = music.next++;
    music.pieces[id] = {name: name, audio: audio, url: url, loop: false, wanted: false, blocked: false,
                        base: 0, baseTime: 0};
    return id;
});

EM_JS(void, lumMusicFree, (int id), {
    var music = Module.lumMusic;
    var piece = music.pieces[id];
    if (!piece) return;
    music.stop(piece);
    piece.audio.removeAttribute('src');
    URL.revokeObjectURL(piece.url);
    delete music.pieces[id];
});

EM_JS(void, lumMusicStart, (int id, int loop, int paused), {
    var music = Module.lumMusic;
    var piece = music.pieces[id];
    music.stop(piece);
    music.current = piece;
    piece.loop = !!loop;
    if (!paused) music.play(piece);
});

EM_JS(void, lumMusicStop, (int id), { Module.lumMusic.stop(Module.lumMusic.pieces[id]); });

EM_JS(void, lumMusicSetPaused, (int id, int paused), {
    var music = Module.lumMusic;
    var piece = music.pieces[id];
    if (paused) {
        music.pause(piece);
        return;
    }
    if (piece.blocked) piece.audio.currentTime = piece.base;
    piece.base = music.place(piece);
    music.play(piece);
});

EM_JS(void, lumMusicSetMuted, (int muted), {
    var music = Module.lumMusic;
    music.muted = !!muted;
    Object.keys(music.pieces).forEach(function(id) { music.pieces[id].audio.muted = music.muted; });
});

EM_JS(int, lumMusicEnded, (int id), { return Module.lumMusic.ended(Module.lumMusic.pieces[id]) ? 1 : 0; });

EM_JS(double, lumMusicPosition, (int id), { return Module.lumMusic.place(Module.lumMusic.pieces[id]); });

// What is on the stream; a paused start holds it without sound.
struct Current {
    MusicStream::Ticket ticket = 0;
    int piece = 0;
    bool paused = false;
};

Current current;
MusicStream::Ticket lastTicket = 0;

int pieceOf(void* music) { return static_cast<int>(reinterpret_cast<std::intptr_t>(music)); }

void stopCurrent() {
    if (current.piece != 0) lumMusicStop(current.piece);
    current = Current();
}

} // namespace

void* MusicStream::load(const std::string& fileName, std::string& error) {
    lumMusicSetUp();
    const int piece = lumMusicLoad(fileName.c_str());
    if (piece == -1) error = "no such file";
    if (piece == -2) error = "the browser cannot play this kind of file";
    return piece > 0 ? reinterpret_cast<void*>(static_cast<std::intptr_t>(piece)) : nullptr;
}

void MusicStream::free(void* music) {
    if (!music) return;
    if (current.piece == pieceOf(music)) stopCurrent();
    lumMusicFree(pieceOf(music));
}

MusicStream::Ticket MusicStream::start(void* music, bool loop, bool paused, std::string&) {
    stopCurrent();
    current.piece = pieceOf(music);
    current.paused = paused;
    current.ticket = ++lastTicket;
    lumMusicStart(current.piece, loop ? 1 : 0, paused ? 1 : 0);
    return current.ticket;
}

void MusicStream::setPaused(Ticket ticket, bool paused) {
    if (!isPlaying(ticket) || current.paused == paused) return;
    current.paused = paused;
    lumMusicSetPaused(current.piece, paused ? 1 : 0);
}

bool MusicStream::isPlaying(Ticket ticket) {
    if (ticket == 0 || ticket != current.ticket) return false;
    return !lumMusicEnded(current.piece);
}

bool MusicStream::isPaused(Ticket ticket) { return isPlaying(ticket) && current.paused; }

double MusicStream::position(Ticket ticket) {
    if (!isPlaying(ticket)) return 0.0;
    const double seconds = lumMusicPosition(current.piece);
    return seconds > 0.0 ? seconds : 0.0;
}

void MusicStream::setMuted(bool muted) {
    lumMusicSetUp();
    lumMusicSetMuted(muted ? 1 : 0);
}

} // namespace lum
