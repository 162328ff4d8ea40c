#include "Game/world/effects/CharFxPak.h"

#include "Engine/media/sound/SoundPak.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/characters/Character.h"
#include "Game/core/ObjectLookup.h"

namespace GAME {

// A sound pack shared by the copies of a pack; the last one destroys it.
class CharFxPak::SharedSound {
public:
    explicit SharedSound(SoundPak* pack) : mId(pack->GetObjectId()) {}
    ~SharedSound() {
        if (SoundPak* pack = Get())
            Singleton<ObjectManager>::Get().DestroyObject(pack);
    }
    SharedSound(const SharedSound&) = delete;
    SharedSound& operator=(const SharedSound&) = delete;
    SoundPak* Get() const { return Singleton<ObjectManager>::Get().GetObject<SoundPak>(mId); }

private:
    std::uint32_t mId;
};

CharFxPak::CharFxPak() = default;
CharFxPak::CharFxPak(const CharFxPak&) = default;
CharFxPak& CharFxPak::operator=(const CharFxPak&) = default;
CharFxPak::~CharFxPak() = default;

SoundPak* CharFxPak::GetStartSound() const {
    return mStartSound ? mStartSound->Get() : nullptr;
}
SoundPak* CharFxPak::GetStopSound() const {
    return mStopSound ? mStopSound->Get() : nullptr;
}
SoundPak* CharFxPak::GetActiveSound() const {
    return mActiveSound ? mActiveSound->Get() : nullptr;
}

Character* CharFxPak::GetCharacter() const {
    return mParentId ? Singleton<ObjectManager>::Get().GetObject<Character>(mParentId) : nullptr;
}

void CharFxPak::LoadFromDatabase(const std::string& record) {
    if (record.empty())
        return;
    const LoadTable table = Singleton<ObjectManager>::Get().GetLoadTable(record);
    mParticleNames.clear();
    mParticleAttachPoints.clear();
    mMeshNames.clear();
    table.GetStringArray("particleEffectNames", mParticleNames);
    table.GetStringArray("particleEffectAttachPoints", mParticleAttachPoints);
    table.GetStringArray("meshEffectNames", mMeshNames);
    mUseTintColor = table.GetBool("useTintColor", false);
    mTintColor = Color{table.GetFloat("colorRed", 0.0f), table.GetFloat("colorGreen", 0.0f),
                       table.GetFloat("colorBlue", 0.0f), 1.0f};
    auto load = [&table](const char* key) -> std::shared_ptr<SharedSound> {
        SoundPak* pack = GetSoundPakFromRecord(table, key);
        return pack ? std::make_shared<SharedSound>(pack) : nullptr;
    };
    mStartSound = load("startSound");
    mStopSound = load("stopSound");
    mActiveSound = load("activeSound");
}

void CharFxPak::InitializeFxPak() {
    UnLoad();
    Character* character = GetCharacter();
    if (!character)
        return;
    for (const std::string& name : mMeshNames)
        mMeshIds.push_back(character->AddMeshEffect(name));
    for (std::size_t i = 0; i < mParticleNames.size(); ++i) {
        const std::string attachPoint =
            i < mParticleAttachPoints.size() ? mParticleAttachPoints[i] : std::string();
        mParticleIds.push_back(character->AddParticleEffect(mParticleNames[i], attachPoint));
    }
    mMeshNames.clear();
    mParticleNames.clear();
    mParticleAttachPoints.clear();
}

void CharFxPak::Enable(bool enable) {
    if (enable)
        Start();
    else
        Stop();
}

void CharFxPak::Start() {
    Character* character = GetCharacter();
    if (!character || mStarted)
        return;
    mStarted = true;
    for (std::uint32_t id : mMeshIds)
        character->StartMeshEffect(id);
    for (std::uint32_t id : mParticleIds)
        character->StartParticleEffect(id);
    if (mUseTintColor) {
        mSavedTintColor = character->GetTintColor();
        character->SetTintColor(mTintColor);
    }
    if (SoundPak* sound = GetStartSound())
        sound->Play(character->GetPosition(), false);
    if (SoundPak* sound = GetActiveSound()) {
        sound->Track(character->GetObjectId());
        sound->Play(character->GetPosition(), true);
    }
}

void CharFxPak::Stop() {
    Character* character = GetCharacter();
    if (!character || !mStarted)
        return;
    mStarted = false;
    for (std::uint32_t id : mMeshIds)
        character->StopMeshEffect(id);
    for (std::uint32_t id : mParticleIds)
        character->StopParticleEffect(id);
    character->SetTintColor(mSavedTintColor);
    if (SoundPak* sound = GetActiveSound()) {
        sound->Track(0);
        sound->FadeLastPlayedSound(mActiveSoundFadeTime);
    }
    if (SoundPak* sound = GetStopSound())
        sound->Play(character->GetPosition(), false);
}

void CharFxPak::UnLoad() {
    Stop();
    if (Character* character = GetCharacter()) {
        for (std::uint32_t& id : mParticleIds)
            character->RemoveParticleEffect(id);
        for (std::uint32_t& id : mMeshIds)
            character->RemoveMeshEffect(id);
    }
    mParticleIds.clear();
    mMeshIds.clear();
    if (SoundPak* sound = GetActiveSound()) {
        sound->Track(0);
        sound->Stop();
    }
}

void CharFxPak::PreLoad() {
    for (SoundPak* sound : {GetStartSound(), GetStopSound(), GetActiveSound()})
        if (sound)
            sound->PreLoad(false);
}

}  // namespace GAME
