#pragma once
// What a non-player character asks of the quest actions that lit it or set its dialog. The
// quest actions implement these beside their TriggerAction base; the character finds them again
// after a load by action id (QuestRepository::FindActionById) and fires them once more.
#include <cstdint>

namespace GAME {

class NpcIlluminateAction {
public:
    virtual ~NpcIlluminateAction() = default;
    virtual std::uint32_t GetActionId() const = 0;
    // 1 exclamation, 2 question, 3 the character's illumination effect.
    virtual int GetIlluminationType() const = 0;
    virtual bool IsDeluminate() const = 0;
    virtual void SetDeluminate() = 0;
};

class NpcDialogUpdateAction {
public:
    virtual ~NpcDialogUpdateAction() = default;
    virtual std::uint32_t GetActionId() const = 0;
    virtual void SetNoPrimaryDialog(bool noPrimaryDialog) = 0;
};

}  // namespace GAME
