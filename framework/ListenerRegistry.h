// Listeners in registration order. Removal only marks an entry, so a listener
// may remove itself (or another) while an event is being dispatched; marked
// entries are deleted by purge(), which the App calls after every state switch.
#pragma once

#include <algorithm>
#include <vector>

namespace lum {

template <typename Listener>
class ListenerRegistry {
public:
    struct Entry {
        bool active;
        bool removed;
        Listener* listener;
    };

    // Nothing happens when any entry holds the listener, even one marked removed.
    void add(Listener& listener) {
        for (const Entry& entry : entries) {
            if (entry.listener == &listener) return;
        }
        entries.push_back(Entry{true, false, &listener});
    }

    void remove(Listener& listener) {
        for (Entry& entry : entries) {
            if (entry.listener == &listener) {
                entry.active = false;
                entry.removed = true;
                dirty = true;
                return;
            }
        }
    }

    void purge() {
        if (!dirty) return;
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const Entry& entry) { return entry.removed; }),
                      entries.end());
        // Nothing marked is left: the next purge has nothing to do until a removal.
        dirty = false;
    }
    bool isDirty() const { return dirty; }

    // Calls `call(listener)` for each live entry in order until one returns
    // false. Indexes, not iterators: a listener added during the dispatch may
    // grow the vector; it is not called for the event in progress.
    template <typename Call>
    void dispatch(Call call) {
        const std::size_t count = entries.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (!entries[i].active || entries[i].removed) continue;
            if (!call(*entries[i].listener)) return;
        }
    }

    bool empty() const { return entries.empty(); }
    std::size_t size() const { return entries.size(); }
    const std::vector<Entry>& getEntries() const { return entries; }

    bool isSuspended() const { return dispatchSuspended; }
    void setSuspended(bool suspended) { dispatchSuspended = suspended; }

    void clear() {
        entries.clear();
        dirty = false;
        dispatchSuspended = false;
    }

private:
    std::vector<Entry> entries;
    bool dirty = false;
    bool dispatchSuspended = false;
};

} // namespace lum
