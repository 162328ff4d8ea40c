#pragma once
// The bound Typhon of the quest scripts: a monster held by chains it breaks when its animation
// says so, that opens the portals around it and dissolves as it enters one.
#include <cstdint>
#include <string>

#include "Engine/object/Object.h"
#include "Game/characters/monster/Monster.h"

namespace GAME {

// The chains themselves: they dissolve when broken, with three bursts at their beam points.
class TyphonChains : public Actor {
    RTTI_DECLARE(TyphonChains)
public:
    void Load(const LoadTable& table) override;
    void Break();

    const std::string& GetDissolveEffect() const { return mDissolveEffect; }
    float GetDissolveTime() const { return mDissolveTime; }
    const std::string& GetBurstEffect() const { return mBurstEffect; }

private:
    std::string mDissolveEffect;
    float mDissolveTime = 1.0f;
    std::string mDissolveTexture;
    std::int32_t mDissolveColorRed = 255;
    std::int32_t mDissolveColorGreen = 255;
    std::int32_t mDissolveColorBlue = 255;
    std::string mBurstEffect;
};

class TyphonChained : public Monster {
    RTTI_DECLARE(TyphonChained)
public:
    // The portals this near are opened.
    static constexpr float kPortalReach = 40.0f;

    ~TyphonChained() override;

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void AnimationCallback(int channel, const Name& event) override;

    TyphonChains* GetChains() const;
    bool AreChainsAttached() const { return mChainsAttached; }

private:
    void OpenPortals();
    void EnterPortal();

    std::uint32_t mChains = 0;
    bool mChainsAttached = false;
};

}  // namespace GAME
