#pragma once
// The two entity classes quest scripts name: an item that belongs to a quest, and an invisible
// place in a level that actions and conditions address through the generic entity events.
#include <string>

#include "Engine/media/graphics/EffectEntity.h"
#include "Game/items/Item.h"

namespace GAME {

class QuestItem : public Item {
    RTTI_DECLARE(QuestItem)
public:
    QuestItem();
    ~QuestItem() override;

    void Load(const LoadTable& record) override;
    void UpdateSelf(int elapsedMs) override;
    std::string GetBitmap() override { return mBitmap; }
    void GetUIDisplayText(const Character* character, std::vector<GameTextLine>& lines) override;
    bool IsTrailEmitting() const { return mEmitting; }

private:
    std::string mBitmap;
    OwnedObject<EffectEntity> mTrail{"Game/QuestItem"};
    bool mEmitting = false;
};

class QuestLocation : public Actor {
    RTTI_DECLARE(QuestLocation)
public:
    QuestLocation();
    ~QuestLocation() override;

    void Load(const LoadTable& record) override;
    void InitialUpdate() override;
};

}  // namespace GAME
