#pragma once
// The game's helpers over the object manager: sound packs made from records, with the class
// check of the typed creation (a record that makes anything else yields nothing), and lookups by
// class name.
#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"

namespace GAME {

class LoadTable;

// Null when the record is missing or does not make a SoundPak.
SoundPak* LoadSoundPak(const char* file);
// The pack named by the record's string field `key`; null (and nothing made) when the field
// is missing or empty.
SoundPak* GetSoundPakFromRecord(const LoadTable& record, const char* key);
// The object of that id when its class is, or derives from, the named class; null otherwise. By
// name, so that code can look up classes of libraries it does not link against.
Object* FindObjectOfClass(std::uint32_t id, const char* className);
// Whether the object's class is, or derives from, the named class; false for null.
bool IsOfClass(const Object* object, const char* className);

}  // namespace GAME
