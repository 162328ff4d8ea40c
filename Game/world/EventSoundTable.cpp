#include "Game/world/EventSoundTable.h"

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Game/world/WorldRandom.h"

namespace GAME {

namespace {
SoundPak* FindPack(std::uint32_t id) {
    return Singleton<ObjectManager>::Get().GetObject<SoundPak>(id);
}
}  // namespace

EventSoundTable::~EventSoundTable() {
    for (const Entry& entry : mEntries)
        if (SoundPak* pack = FindPack(entry.packId))
            Singleton<ObjectManager>::Get().DestroyObject(pack);
}

void EventSoundTable::Add(const Name& event, SoundPak* pack, float chance) {
    if (pack)
        mEntries.push_back({event, pack->GetObjectId(), chance});
}

bool EventSoundTable::Play(const Name& event, const WorldVec3& at) const {
    for (const Entry& entry : mEntries) {
        if (entry.event != event)
            continue;
        SoundPak* pack = FindPack(entry.packId);
        if (!pack)
            return false;
        if (RandomFloat(0.0f, 100.0f) < entry.chance)
            pack->Play(at);
        return true;
    }
    return false;
}

SoundPak* EventSoundTable::Find(const Name& event) const {
    for (const Entry& entry : mEntries)
        if (entry.event == event)
            return FindPack(entry.packId);
    return nullptr;
}

void EventSoundTable::PreLoad() const {
    for (const Entry& entry : mEntries)
        if (SoundPak* pack = FindPack(entry.packId))
            pack->PreLoad(false);
}

}  // namespace GAME
