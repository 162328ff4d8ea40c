#include "Game/core/ObjectLookup.h"

#include <string>

#include "Engine/records/LoadTable.h"

namespace GAME {

SoundPak* LoadSoundPak(const char* file) {
    if (!file)
        return nullptr;
    return Singleton<ObjectManager>::Get().CreateObjectFromFile<SoundPak>(std::string(file), 0,
                                                                          true);
}

SoundPak* GetSoundPakFromRecord(const LoadTable& record, const char* key) {
    if (!key)
        return nullptr;
    const std::string file = record.GetString(key, std::string());
    if (file.empty())
        return nullptr;
    return LoadSoundPak(file.c_str());
}

}  // namespace GAME
