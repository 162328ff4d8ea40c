// Saving and loading a player's character file as a whole.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Engine/streams/IOStream.h"
#include "Game/characters/Player.h"

namespace GAME {

bool Player::SaveCharacterFile(const std::filesystem::path& path) {
    IOStream stream;
    StreamProperties(stream);
    // Under a temporary name first: a crash mid-save leaves the previous file whole.
    return stream.SaveToFile(path);
}

bool Player::LoadCharacterFile(const std::filesystem::path& path) {
    std::unique_ptr<IOStream> stream = IOStream::OpenForReading(path);
    if (!stream) {
        gEngine->Log(1, "Player: cannot read the character file \"%s\".", path.string().c_str());
        return false;
    }
    return LoadCharacterData(stream->GetBytes(), path.string());
}

bool Player::LoadCharacterData(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    // A trial read into a scratch player first, so that a file that fails half-way changes
    // neither this player nor the game's tutorial state.
    IOStream trial(bytes);
    trial.SetName(name);
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    Player* scratch = objects.CreateObject<Player>();
    if (!scratch) {
        gEngine->Log(1, "Player: no scratch player to check \"%s\" with; not loaded.",
                     name.c_str());
        return false;
    }
    // Its base attributes made as this player's record makes them, so the trial read finds
    // what it sets and says nothing the real read would not.
    scratch->GetCharacterBio().Load(
        GetObjectName().empty() ? LoadTable() : objects.GetLoadTable(GetObjectName()));
    scratch->StreamCharacter(trial, false);
    objects.DestroyObjectEx(scratch, "Game/Player", __LINE__);
    if (trial.Failed()) {
        gEngine->Log(1, "Player: the character file \"%s\" is refused; nothing of it is loaded.",
                     name.c_str());
        return false;
    }
    IOStream stream(bytes);
    stream.SetName(name);
    StreamProperties(stream);
    return !stream.Failed();
}

}  // namespace GAME
