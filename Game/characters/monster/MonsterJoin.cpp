// Leaders and pet banners: how a monster becomes a pet or a follower, and leaves again.
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/LoadTable.h"
#include "Game/ai/controllers/CharacterController.h"
#include "Game/characters/Player.h"
#include "Game/characters/monster/Monster.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/Team.h"

namespace GAME {

namespace {

// The tutorial page shown the first time the player gets a pet.
constexpr unsigned int kPetTutorialPage = 34;
constexpr const char* kBannerAttachPoint = "Prey_Effect";

}  // namespace

void Monster::JoinMe(std::uint32_t leaderId, int durationMs, bool showBanner) {
    // A running timed join refuses another; so does the leader it already follows, whose
    // second join would save the leader's own team and leader as the ones to go back to.
    if (mJoinTimeLeft >= 1 || (leaderId != 0 && leaderId == mLeaderId)) {
        gEngine->Log(0, "Monster::JoinMe() called on (%d): has already joined.",
                     static_cast<int>(GetObjectId()));
        return;
    }
    // A dead leader is refused too: the follower would leave (or, a player's pet, die) on its
    // next update.
    Character* leader = Objects().GetObject<Character>(leaderId);
    if (!leader || !leader->IsAlive()) {
        gEngine->Log(2, "Monster::JoinMe() called by invalid target %d",
                     static_cast<int>(leaderId));
        return;
    }
    if (gGameEngine && leaderId == gGameEngine->GetPlayerId() && durationMs == -1 &&
        mShowStatusWidgetWhenPet) {
        gGameEngine->RegisterLocalPet(GetObjectId());
        gGameEngine->UnlockTutorialPage(kPetTutorialPage, true);
    }
    mSavedTeam = Character::GetTeam();
    mPreviousLeaderId = mLeaderId;
    mJoinTimeLeft = durationMs;
    SetTeam(leader->GetTeam());
    SetLeader(leaderId);
    ControllerNewLeader(leaderId);
    mLeaderIsPlayer = leader->IsA<Player>();
    if (!showBanner || !gGameEngine)
        return;
    const bool playerSide = Character::GetTeam().GetTeamMajor() == Team::Human;
    SetConvertBanner(gGameEngine->GetDatabase().GetString(playerSide ? "playerPetBannerName"
                                                                     : "monsterPetBannerName"));
}

void Monster::SetLeader(std::uint32_t id) {
    mLeaderId = id;
    if (id == 0) {
        if (mForcedUpdatesRegistered)
            gEngine->UnregisterForForcedUpdates(GetObjectId());
        mForcedUpdatesRegistered = false;
        return;
    }
    // A player's pet keeps updating out of the player's view.
    if (Objects().GetObject<Player>(id)) {
        gEngine->RegisterForForcedUpdates(GetObjectId());
        mForcedUpdatesRegistered = true;
    }
}

void Monster::UnJoinLeader() {
    RemoveConvertBanner();
    mJoinTimeLeft = -1;
    SetTeam(mSavedTeam);
    SetLeader(mPreviousLeaderId);
    ControllerNewLeader(mPreviousLeaderId);
}

void Monster::UpdateLeader(int ms) {
    if (mLeaderId == 0)
        return;
    if (gGameEngine && gGameEngine->GetTeamManager() &&
        gGameEngine->GetTeamManager()->IsFoe(mLeaderId, GetObjectId())) {
        UnJoinLeader();
        return;
    }
    if (mJoinTimeLeft < 1) {
        const Character* leader = Objects().GetObject<Character>(mLeaderId);
        if (leader && leader->IsAlive())
            return;
        // A player's permanent pet does not outlive its master.
        if (!mLeaderIsPlayer)
            UnJoinLeader();
        else if (auto* controller = FindController<ControllerCombat>(*this))
            controller->KillMe();
        return;
    }
    mJoinTimeLeft -= ms;
    if (mJoinTimeLeft <= 0)
        UnJoinLeader();
}

void Monster::SetBanner(BannerKind kind, const std::string& name) {
    RemoveBanner(kind);
    if (name.empty())
        return;
    Actor* banner = Objects().CreateObjectFromFile<Actor>(name);
    if (!banner)
        return;
    mBanners[kind] = banner->GetObjectId();
    SetPetBanner();
}

void Monster::RemoveBanner(BannerKind kind) {
    Actor* banner = Objects().GetObject<Actor>(mBanners[kind]);
    mBanners[kind] = 0;
    if (!banner)
        return;
    if (banner->GetObjectId() == mShownBanner) {
        Detach(banner);
        mShownBanner = 0;
    }
    Objects().DestroyObjectEx(banner, "Game/Monster", __LINE__);
    if (mShownBanner == 0)
        SetPetBanner();
}

void Monster::SetPetBanner() {
    if (Actor* shown = Objects().GetObject<Actor>(mShownBanner))
        Detach(shown);
    mShownBanner = 0;
    Actor* banner = nullptr;
    for (BannerKind kind : {BannerControl, BannerConvert, BannerBase})
        if ((banner = Objects().GetObject<Actor>(mBanners[kind])) != nullptr)
            break;
    if (!banner)
        return;
    // The banner keeps its own size whatever the monster's.
    if (GetScale() > 0.0f)
        banner->SetScale(banner->GetScale() / GetScale());
    Attach(banner, Coords::FromOrigin(Vec3{0.0f, 1.0f, 0.0f}), kBannerAttachPoint);
    mShownBanner = banner->GetObjectId();
}

void Monster::RemoveAllPetBanners() {
    RemoveControlBanner();
    RemoveConvertBanner();
    RemoveBaseBanner();
}

void Monster::DestroyBanners() {
    // The shown banner is one of the three and goes with them.
    if (Actor* shown = Objects().GetObject<Actor>(mShownBanner))
        Detach(shown);
    mShownBanner = 0;
    for (std::uint32_t& id : mBanners) {
        if (Object* banner = id != 0 ? Objects().GetObject(id) : nullptr)
            Objects().DestroyObjectEx(banner, "Game/Monster", __LINE__);
        id = 0;
    }
}

}  // namespace GAME
