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

namespace {
const std::vector<std::uint32_t> kNoIds;
const Color kWhite{1, 1, 1, 1};
}  // namespace

CharFxPak::CharFxPak() = default;
CharFxPak::CharFxPak(const CharFxPak& other)
    : mParentId(other.mParentId),
      mStarted(other.mStarted),
      mContents(other.mContents ? std::make_unique<Contents>(*other.mContents) : nullptr) {}
CharFxPak& CharFxPak::operator=(const CharFxPak& other) {
    if (this != &other) {
        mParentId = other.mParentId;
        mStarted = other.mStarted;
        mContents = other.mContents ? std::make_unique<Contents>(*other.mContents) : nullptr;
    }
    return *this;
}
CharFxPak::~CharFxPak() = default;

const Color& CharFxPak::GetTintColor() const {
    return mContents ? mContents->tintColor : kWhite;
}
const std::vector<std::uint32_t>& CharFxPak::GetParticleEffectIds() const {
    return mContents ? mContents->particleIds : kNoIds;
}
const std::vector<std::uint32_t>& CharFxPak::GetMeshEffectIds() const {
    return mContents ? mContents->meshIds : kNoIds;
}

SoundPak* CharFxPak::GetStartSound() const {
    return mContents && mContents->startSound ? mContents->startSound->Get() : nullptr;
}
SoundPak* CharFxPak::GetStopSound() const {
    return mContents && mContents->stopSound ? mContents->stopSound->Get() : nullptr;
}
SoundPak* CharFxPak::GetActiveSound() const {
    return mContents && mContents->activeSound ? mContents->activeSound->Get() : nullptr;
}

Character* CharFxPak::GetCharacter() const {
    return mParentId ? Singleton<ObjectManager>::Get().GetObject<Character>(mParentId) : nullptr;
}

void CharFxPak::LoadFromDatabase(const std::string& record) {
    if (record.empty())
        return;
    const LoadTable table = Singleton<ObjectManager>::Get().GetLoadTable(record);
    if (!mContents)
        mContents = std::make_unique<Contents>();
    Contents& c = *mContents;
    c.particleNames.clear();
    c.particleAttachPoints.clear();
    c.meshNames.clear();
    table.GetStringArray("particleEffectNames", c.particleNames);
    table.GetStringArray("particleEffectAttachPoints", c.particleAttachPoints);
    table.GetStringArray("meshEffectNames", c.meshNames);
    c.useTintColor = table.GetBool("useTintColor", false);
    c.tintColor = Color{table.GetFloat("colorRed", 0.0f), table.GetFloat("colorGreen", 0.0f),
                        table.GetFloat("colorBlue", 0.0f), 1.0f};
    auto load = [&table](const char* key) -> std::shared_ptr<SharedSound> {
        SoundPak* pack = GetSoundPakFromRecord(table, key);
        return pack ? std::make_shared<SharedSound>(pack) : nullptr;
    };
    c.startSound = load("startSound");
    c.stopSound = load("stopSound");
    c.activeSound = load("activeSound");
}

void CharFxPak::InitializeFxPak() {
    UnLoad();
    Character* character = GetCharacter();
    if (!character || !mContents)
        return;
    Contents& c = *mContents;
    for (const std::string& name : c.meshNames)
        c.meshIds.push_back(character->AddMeshEffect(name));
    for (std::size_t i = 0; i < c.particleNames.size(); ++i) {
        const std::string attachPoint =
            i < c.particleAttachPoints.size() ? c.particleAttachPoints[i] : std::string();
        c.particleIds.push_back(character->AddParticleEffect(c.particleNames[i], attachPoint));
    }
    c.meshNames.clear();
    c.particleNames.clear();
    c.particleAttachPoints.clear();
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
    if (!mContents)
        return;
    Contents& c = *mContents;
    for (std::uint32_t id : c.meshIds)
        character->StartMeshEffect(id);
    for (std::uint32_t id : c.particleIds)
        character->StartParticleEffect(id);
    if (c.useTintColor) {
        c.savedTintColor = character->GetTintColor();
        character->SetTintColor(c.tintColor);
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
    if (!mContents) {
        character->SetTintColor(kWhite);
        return;
    }
    Contents& c = *mContents;
    for (std::uint32_t id : c.meshIds)
        character->StopMeshEffect(id);
    for (std::uint32_t id : c.particleIds)
        character->StopParticleEffect(id);
    character->SetTintColor(c.savedTintColor);
    if (SoundPak* sound = GetActiveSound()) {
        sound->Track(0);
        sound->FadeLastPlayedSound(kActiveSoundFadeTime);
    }
    if (SoundPak* sound = GetStopSound())
        sound->Play(character->GetPosition(), false);
}

void CharFxPak::UnLoad() {
    Stop();
    if (!mContents)
        return;
    Contents& c = *mContents;
    if (Character* character = GetCharacter()) {
        for (std::uint32_t& id : c.particleIds)
            character->RemoveParticleEffect(id);
        for (std::uint32_t& id : c.meshIds)
            character->RemoveMeshEffect(id);
    }
    c.particleIds.clear();
    c.meshIds.clear();
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
