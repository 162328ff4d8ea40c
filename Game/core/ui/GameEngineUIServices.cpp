// What the root prepares for the host's UI: the notification queue, the map's name, the skill
// tooltips and the camera's field of view.
#include "Engine/object/MinimapGameNugget.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/sys/GameInfo.h"
#include "Engine/text/LocalizationManager.h"
#include "Engine/world/World.h"
#include "Engine/world/WorldShapes.h"
#include "Game/characters/Player.h"
#include "Game/core/GameEngine.h"
#include "Game/core/players/PlayerManagerClient.h"
#include "Game/core/players/PlayerNetInfo.h"
#include "Game/items/GameTextLine.h"
#include "Game/skills/Skill.h"
#include "Game/skills/manager/SkillManager.h"

namespace GAME {

namespace {

void Queue(std::vector<GameEngine::UINotification>& queue, GameEngine::UINotification notification,
           bool clearFirst) {
    if (clearFirst)
        queue.clear();
    if (!queue.empty() && queue.back() == notification)
        return;
    // A UI that never drains the queue keeps the newest only.
    if (queue.size() >= GameEngine::kMaxNotifications)
        queue.erase(queue.begin());
    queue.push_back(std::move(notification));
}

const LocalizationManager& UIText() {
    return LocalizationManager::Instance();
}

std::wstring Simple(const std::string& tag) {
    return UIText().Format("SimpleStringFormat", UIText().GetText(tag));
}

constexpr GameTextClass kMet = GameTextClass_SkillRequirements;
constexpr GameTextClass kNotMet = GameTextClass_SkillRequirementsNotMet;

void Blank(std::vector<GameTextLine>& lines) {
    lines.emplace_back(GameTextClass_Default, std::wstring());
}

// Step 6 of the skill text: why no point can be added, or how to add one.
void AddRequirementLine(const Skill& skill, const SkillReasons& reasons,
                        std::vector<GameTextLine>& lines) {
    if (reasons[1]) {
        const Skill* mastery =
            Singleton<ObjectManager>::Get().GetObject<Skill>(skill.GetMasteryId());
        const std::wstring name =
            mastery ? UIText().GetText(mastery->GetDisplayNameTag()) : std::wstring();
        const std::uint32_t required = skill.GetMasteryLevelRequirement();
        const std::uint32_t has = skill.GetMasteryLevel();
        const char* tag = required == has + 1 ? "tagSkillReq01Singular" : "tagSkillReq01";
        lines.emplace_back(kNotMet, UIText().Format(tag, name, required));
    } else if (reasons[5]) {
        std::wstring text;
        Player* main = gGameEngine ? gGameEngine->GetMainPlayer() : nullptr;
        for (const std::string& record : skill.GetSkillDependancy()) {
            const Skill* needed = main ? Singleton<ObjectManager>::Get().GetObject<Skill>(
                                             main->GetSkillManager().FindSkillId(record))
                                       : nullptr;
            if (needed && needed->GetSkillLevel() == 0)
                text += UIText().Format("FailedSkillDependancy",
                                        UIText().GetText(needed->GetDisplayNameTag()));
        }
        lines.emplace_back(kNotMet, text);
    } else if (reasons[2]) {
        lines.emplace_back(kNotMet, UIText().Format("tagSkillReq03", skill.GetBaseNamesText()));
    } else if (reasons[4]) {
    } else if (reasons[0]) {
        lines.emplace_back(kNotMet, Simple("NoSkillPointsToAdd"));
    } else {
        lines.emplace_back(kMet, Simple("PressToAddUnusedSkillPoints"));
    }
}

}  // namespace

void GameEngine::AddUINotification(int type, const std::wstring& text, bool clearFirst) {
    Queue(notifications, UINotification{type, {}, {text}}, clearFirst);
}

void GameEngine::AddUINotification(int type, const std::vector<std::wstring>& texts,
                                   bool clearFirst) {
    Queue(notifications, UINotification{type, {}, texts}, clearFirst);
}

void GameEngine::AddUINotificationTag(int type, const std::string& tag, bool clearFirst) {
    Queue(notifications, UINotification{type, {tag}, {}}, clearFirst);
}

void GameEngine::AddUINotificationTag(int type, const std::vector<std::string>& tags,
                                      bool clearFirst) {
    Queue(notifications, UINotification{type, tags, {}}, clearFirst);
}

GameEngine::UINotification GameEngine::TakeTopNotification() {
    if (notifications.empty())
        return UINotification();
    UINotification top = std::move(notifications.front());
    notifications.erase(notifications.begin());
    return top;
}

std::wstring GameEngine::GetMapName() const {
    const GameInfo& info = Singleton<GameInfo>::Get();
    if (info.GetModName().empty())
        return Simple("tagDefaultMap");
    const std::string& level = info.GetLevelName();
    const std::size_t slash = level.rfind('/');
    const std::string file = slash == std::string::npos ? level : level.substr(slash + 1);
    return LocalizationManager::ToWChar(info.GetModName() + " ~ " + file);
}

void GameEngine::GetDetailMapData(std::vector<MinimapGameNugget>& out,
                                  const WorldFrustum& view) const {
    if (!view.GetRegion())
        return;
    std::vector<Entity*> inView;
    World::Get().GetEntitiesInFrustum(inView, view);
    for (const Entity* entity : inView)
        if (entity->IsA(Actor::classInfo))
            static_cast<const Actor*>(entity)->AppendDetailMapData(out);
    const PlayerManagerClient* client = GetPlayerManagerClient();
    if (!client)
        return;
    const std::vector<PlayerNetBasicInfo>& players = client->GetPlayerInfoCache();
    const std::uint32_t own = GetPlayerId();
    int ownParty = 0;
    for (const PlayerNetBasicInfo& record : players)
        if (record.playerId == own) {
            ownParty = record.partyId;
            break;
        }
    ObjectManager& objects = Singleton<ObjectManager>::Get();
    for (const PlayerNetBasicInfo& record : players) {
        MinimapGameNugget nugget;
        nugget.word = record.playerId != own && ownParty != 0 && record.partyId == ownParty;
        const Player* player = objects.GetObject<Player>(record.playerId);
        if (player && player->IsInWorld()) {
            nugget.label = player->GetGameDescription(false);
            nugget.position = player->GetCoords().GetPosition();
            nugget.vector = player->GetCoords().coords.zAxis;
        } else {
            nugget.label = record.playerName;
            nugget.position = record.position;
            nugget.vector = Vec3(0, 0, 1);
        }
        out.push_back(std::move(nugget));
    }
}

void GameEngine::SetCameraFOV(float degrees) {
    camera.SetCameraFOV(degrees * 0.017453292f);
}

void GameEngine::GenerateUISkillText(const Skill* skill, std::vector<GameTextLine>& lines,
                                     const SkillReasons* reasons, bool headerOnly, bool reclaim,
                                     int cost) {
    if (!skill)
        return;
    skill->CreateUISkillHeading(lines);
    Blank(lines);
    if (skill->IsDefaultSkill())
        return;
    if (skill->GetCurrentLevel() > 0) {
        skill->CreateUIParameterText(lines);
        Blank(lines);
    }
    if ((reasons && (*reasons)[3] && !reclaim) || headerOnly)
        return;
    const std::size_t before = lines.size();
    skill->CreateUINextParameterText(lines);
    if (lines.size() == before)
        return;
    Blank(lines);
    if (!reasons)
        return;
    const SkillReasons& why = *reasons;
    if (!reclaim) {
        AddRequirementLine(*skill, why, lines);
        return;
    }
    if (why[1])
        return;
    if (skill->IsSkillTheMasterySkill())
        lines.emplace_back(kNotMet, Simple("tagDecreaseMasteryError"));
    else if (why[8])
        lines.emplace_back(kNotMet, Simple("tagReclaimNoPoints"));
    else if (why[6])
        lines.emplace_back(kNotMet, UIText().Format("tagReclaimNoGold", cost));
    else if (why[7])
        lines.emplace_back(kNotMet, Simple("tagReclaimBase"));
    else
        lines.emplace_back(kMet, UIText().Format("tagReclaimPoint", cost));
}

void GameEngine::GenerateUISkillInfo(const Skill* skill, std::vector<GameTextLine>& lines) {
    if (!skill)
        return;
    skill->CreateUISkillHeading(lines);
    Blank(lines);
    if (skill->GetCurrentLevel() > 0 && !skill->IsDefaultSkill()) {
        skill->CreateUIParameterText(lines);
        Blank(lines);
    }
    switch (skill->GetReason()) {
        case SkillReason::CoolingDown:
            lines.emplace_back(kNotMet, Simple("tagSkillUnusableCooldown"));
            return;
        case SkillReason::NotEnoughMana:
            lines.emplace_back(kNotMet, Simple("tagSkillUnusableLowMana"));
            return;
        case SkillReason::NotQualifying:
            lines.emplace_back(kNotMet, Simple("tagSkillUnusableConfiguration"));
            return;
        default:
            break;
    }
    if (skill->IsItemSkill() && skill->GetCurrentLevel() == 0)
        lines.emplace_back(kNotMet, Simple("tagSkillUnusableConfiguration"));
    else
        lines.emplace_back(kMet, Simple("tagSkillUsableReady"));
}

}  // namespace GAME
