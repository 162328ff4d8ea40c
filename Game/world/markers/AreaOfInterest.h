#pragma once
// A named region of a level: invisible in the game, it adds a labelled entry to the detail map.
#include <string>
#include <vector>

#include "Engine/object/Object.h"

namespace GAME {

class AreaOfInterest : public Actor {
    RTTI_DECLARE(AreaOfInterest)
public:
    // The detail map's kind of an area's entry.
    static constexpr int kMapKind = 6;

    AreaOfInterest();

    void Load(const LoadTable& table) override;
    void InitialUpdate() override;
    void AppendDetailMapData(std::vector<MinimapGameNugget>& list) const override;

    float GetRadius() const { return mRadius; }
    const std::string& GetAreaDescription() const { return mAreaDescription; }

private:
    std::string mAreaDescription;  // a text tag
    float mRadius = 1.0f;
};

}  // namespace GAME
