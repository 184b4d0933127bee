#include "ForeignToplevelList.h"

#include <algorithm>

#include "platform/Utf16.h"

namespace velmora::wayland {

Hwnd ForeignToplevelList::Announce() {
    const Hwnd id = nextId_++;
    Entry& entry = entries_[id];
    entry.applied.id = id;
    entry.pending.id = id;
    return id;
}

void ForeignToplevelList::SetTitle(Hwnd id, std::string_view title) {
    if (const auto at = entries_.find(id); at != entries_.end()) {
        // Compositors pass on whatever bytes a client set; the row, the filters and Close's
        // title check must all see the same characters.
        at->second.pending.title = ValidUtf8(title);
    }
}

void ForeignToplevelList::SetAppId(Hwnd id, std::string appId) {
    if (const auto at = entries_.find(id); at != entries_.end()) {
        at->second.pending.appId = std::move(appId);
    }
}

void ForeignToplevelList::SetStates(Hwnd id, unsigned states) {
    if (const auto at = entries_.find(id); at != entries_.end()) at->second.pending.states = states;
}

void ForeignToplevelList::SetPid(Hwnd id, std::uint32_t pid) {
    if (const auto at = entries_.find(id); at != entries_.end()) at->second.pending.pid = pid;
}

void ForeignToplevelList::Done(Hwnd id) {
    const auto at = entries_.find(id);
    if (at == entries_.end()) return;
    Entry& entry = at->second;
    const bool wasActivated = entry.done && (entry.applied.states & kToplevelActivated) != 0;
    entry.applied = entry.pending;
    entry.done = true;
    if (!wasActivated && (entry.applied.states & kToplevelActivated) != 0) {
        entry.activatedAt = ++activations_;
    }
}

void ForeignToplevelList::Closed(Hwnd id) { entries_.erase(id); }

void ForeignToplevelList::TakeListing(
    const std::vector<std::pair<std::uint64_t, Toplevel>>& listing) {
    std::map<std::uint64_t, Hwnd> keys;
    for (const auto& [key, toplevel] : listing) {
        const auto known = keys_.find(key);
        const Hwnd id = known != keys_.end() ? known->second : Announce();
        keys.emplace(key, id);
        SetTitle(id, toplevel.title);
        SetAppId(id, toplevel.appId);
        SetPid(id, toplevel.pid);
        SetStates(id, toplevel.states);
        Done(id);
    }
    for (const auto& [key, id] : keys_) {
        if (!keys.contains(key)) Closed(id);
    }
    keys_ = std::move(keys);
}

std::uint64_t ForeignToplevelList::KeyOf(Hwnd id) const {
    for (const auto& [key, listed] : keys_) {
        if (listed == id) return key;
    }
    return 0;
}

const Toplevel* ForeignToplevelList::Find(Hwnd id) const {
    const auto at = entries_.find(id);
    return at != entries_.end() && at->second.done ? &at->second.applied : nullptr;
}

std::vector<Toplevel> ForeignToplevelList::Listed(const OwnWindow& own) const {
    std::vector<const Entry*> listed;
    for (const auto& [id, entry] : entries_) {
        if (entry.done && !entry.applied.title.empty() && !own.Is(entry.applied)) {
            listed.push_back(&entry);
        }
    }
    // Stable: the never activated (all 0) keep announcement order behind the others.
    std::stable_sort(listed.begin(), listed.end(), [](const Entry* a, const Entry* b) {
        return a->activatedAt > b->activatedAt;
    });
    std::vector<Toplevel> toplevels;
    toplevels.reserve(listed.size());
    for (const Entry* entry : listed) toplevels.push_back(entry->applied);
    return toplevels;
}

Hwnd ForeignToplevelList::Activated() const {
    const Entry* latest = nullptr;
    for (const auto& [id, entry] : entries_) {
        if (entry.done && (entry.applied.states & kToplevelActivated) != 0 &&
            (latest == nullptr || entry.activatedAt > latest->activatedAt)) {
            latest = &entry;
        }
    }
    return latest != nullptr ? latest->applied.id : 0;
}

}  // namespace velmora::wayland
