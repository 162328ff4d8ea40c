#include "Game/core/ObjectLookup.h"

#include <string>
#include <string_view>

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

bool IsOfClass(const Object* object, const char* className) {
    if (!className)
        return false;
    for (const RTTI_ClassInfo* info = object ? &object->GetClassInfo() : nullptr; info;
         info = info->GetParent())
        if (std::string_view(info->GetClassName()) == className)
            return true;
    return false;
}

Object* FindObjectOfClass(std::uint32_t id, const char* className) {
    if (id == 0)
        return nullptr;
    Object* object = Singleton<ObjectManager>::Get().GetObject(id);
    return IsOfClass(object, className) ? object : nullptr;
}

}  // namespace GAME
