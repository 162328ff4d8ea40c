#pragma once
// What the quest actions that act on named entities of the world share: they bind to the
// entities by name as those appear (the quest repository's registries, or their own spawn
// events), stay pending while nothing they need is bound, and apply their effect again whenever
// a binding arrives while they are pending. The pending flag is saved with the quest's state.
#include <cstdint>
#include <string>
#include <vector>

#include "Game/quests/actions/QuestAction.h"
#include "Game/quests/triggers/QuestListeners.h"

namespace GAME {

struct GameEvent_CreatureInitialUpdate;
struct GameEvent_GenericEntity;

class BoundAction : public QuestAction,
                    public CreatureInitialUpdateListener,
                    public GenericEntityInitialUpdateListener {
public:
    using QuestAction::QuestAction;
    bool CanDelay() const override { return true; }
    // "isPendingFire".
    void StreamChildProperties(IOStream& stream) override;

    void OnCreatureInitialUpdate(const GameEvent_CreatureInitialUpdate& event) override;
    void OnGenericEntityInitialUpdate(const GameEvent_GenericEntity& event) override;
    void OnGenericEntityInitialUpdate_Net(const QuestNetMsg_ProxySpawn& message) override;

    bool IsPendingFire() const { return mPending; }
    const std::vector<std::uint32_t>& GetBound() const { return mBound; }

protected:
    // A creature or generic entity under one of the action's names appeared; by default its id
    // joins the bound list (a spawn proxy adds its objects instead).
    virtual void BindCreature(const std::string& name, std::uint32_t id);
    virtual void BindEntity(const std::string& name, std::uint32_t id);
    // A proxy's objects as the deciding machine sent them replace the list.
    virtual void BindProxyObjects(const QuestNetMsg_ProxySpawn& message);
    // Applies the effect to what is bound; clears mPending when done.
    virtual void Apply() = 0;
    // Sets the flag and applies, unless a re-fire is not to be repeated.
    void FirePending(bool reFire, bool canReFire);
    void Rebind() {
        if (mPending)
            Apply();
    }
    // Registers `name` with the repository's creature and/or generic entity registries.
    void Register(const std::string& name, bool creatures, bool entities);
    void AddBound(std::uint32_t id);

    std::vector<std::uint32_t> mBound;
    bool mPending = false;
};

// Whether this machine is a networked client (the server decides the shared world).
bool IsNetworkedClient();

}  // namespace GAME
