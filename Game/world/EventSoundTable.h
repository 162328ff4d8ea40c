#pragma once
// Sound packs played on named animation events, each with a chance in percent. The table owns
// its packs.
#include <string>
#include <vector>

#include "Engine/text/Name.h"

namespace GAME {

class SoundPak;
struct WorldVec3;

class EventSoundTable {
public:
    EventSoundTable() = default;
    ~EventSoundTable();
    EventSoundTable(const EventSoundTable&) = delete;
    EventSoundTable& operator=(const EventSoundTable&) = delete;

    // Takes the pack (null: nothing is registered).
    void Add(const Name& event, SoundPak* pack, float chance);
    // Plays the event's pack at `at` when the chance roll (0 to 100) is below its chance;
    // false when the event has no pack.
    bool Play(const Name& event, const WorldVec3& at) const;
    void PreLoad() const;
    // The event's pack, or null.
    SoundPak* Find(const Name& event) const;
    std::size_t Size() const { return mEntries.size(); }

private:
    struct Entry {
        Name event;
        std::uint32_t packId = 0;
        float chance = 0.0f;
    };
    std::vector<Entry> mEntries;
};

}  // namespace GAME
