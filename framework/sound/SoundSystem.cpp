// The sound system's bookkeeping: its sounds, its channels and its hold on the
// shared audio device. The music itself goes through the one MusicStream.
#include "framework/sound/SoundSystem.h"

#include "framework/Replay.h"

#include "framework/Log.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/MusicStream.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundChannel.h"

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace lum {

namespace {

int openCount = 0;
bool musicMuted = false;
// A file that cannot be played is named once per run, not at every visit to
// the menu or every match that asks for it again.
std::set<std::string> filesReported;

constexpr int maxChannels = 4096;

void reportFile(const std::string& fileName, const std::string& reason) {
    if (!filesReported.insert(fileName).second) return;
    log.warning("Music \"" + fileName + "\" cannot be played (" + reason + "); it stays silent.");
}

} // namespace

struct SoundSystem::Backend {
    std::vector<Sound*> sounds;
    // Made once and kept until the system is destroyed, so a channel handle
    // held by the owner stays safe to ask after close().
    std::vector<std::unique_ptr<SoundChannel>> channels;
    bool hasDevice = false;

    SoundChannel* freeChannel() const {
        for (const auto& channel : channels) {
            if (!channel->isPlaying()) return channel.get();
        }
        return channels.front().get(); // only with a single channel: take it over
    }
};

SoundSystem::SoundSystem() : backend(new Backend) {}

SoundSystem::~SoundSystem() {
    close();
    delete backend;
}

void SoundSystem::init(int channels) {
    if (open) return;
    const int count = std::clamp(channels, 1, maxChannels);
    for (int index = static_cast<int>(backend->channels.size()); index < count; ++index) {
        backend->channels.emplace_back(new SoundChannel(*this, index));
    }
    // A replay checked without a window runs many times faster than the
    // music: it stays silent.
    backend->hasDevice = !Replay::unpacedUnderway() && AudioDevice::acquire();
    open = true;
    ++openCount;
}

Sound* SoundSystem::createSound(const std::string& fileName) {
    // Without a device the reason has been logged already; no file is opened.
    if (!open || !backend->hasDevice) return nullptr;
    std::string error;
    void* music = MusicStream::load(fileName, error);
    if (!music) {
        reportFile(fileName, error);
        return nullptr;
    }
    Sound* sound = new Sound(*this, music);
    backend->sounds.push_back(sound);
    return sound;
}

SoundChannel* SoundSystem::playSound(Sound* sound, bool paused) {
    if (!open || !sound || &sound->system != this) return nullptr;
    SoundChannel* channel = backend->freeChannel();
    std::string error;
    const MusicStream::Ticket ticket = MusicStream::start(sound->data, sound->getMode() == Sound::LOOP_NORMAL, paused, error);
    if (ticket == 0) {
        log.warning("Music cannot be started (" + error + "); it stays silent.");
        return nullptr;
    }
    channel->ticket = ticket;
    return channel;
}

void SoundSystem::update() {}

void SoundSystem::close() {
    if (!open) return;
    while (!backend->sounds.empty()) releaseSound(backend->sounds.back());
    if (backend->hasDevice) AudioDevice::release();
    backend->hasDevice = false;
    open = false;
    --openCount;
}

int SoundSystem::openSystems() { return openCount; }

void SoundSystem::setMuted(bool muted) {
    musicMuted = muted;
    MusicStream::setMuted(muted);
}

bool SoundSystem::isMuted() { return musicMuted; }

void SoundSystem::releaseSound(Sound* sound) {
    auto& sounds = backend->sounds;
    const auto found = std::find(sounds.begin(), sounds.end(), sound);
    if (found == sounds.end()) return; // not this system's, or released already
    sounds.erase(found);
    MusicStream::free(sound->data);
    delete sound;
}

} // namespace lum
