#pragma once
// A character's ragdoll: when the physics takes the body over, every rigid body starts with the
// velocity the last hit the character took asks for (EffectData): a crumple that carries on the
// animation's motion, a throw along the hit, or a random tumble. When the body comes to rest
// the character's death handlers hear "PhysicsComplete".
#include <string>

#include "Engine/media/physics/PhysicsRagDoll.h"
#include "Engine/world/Math.h"

namespace GAME {

class Character;
struct WorldCoords;
struct WorldVec3;

class CharacterRagDoll : public PhysicsRagDoll {
public:
    enum Effect : int {
        Crumple = 0,
        TakeHit = 1,
        Random = 2,
    };

    // The ragdoll reaction of a hit, filled by whoever makes the hit.
    struct EffectData {
        Effect effect = Random;
        Vec3 direction{0.0f, 1.0f, 0.0f};
        float speed = 1.0f;
        float amplification = 0.0f;
    };

    explicit CharacterRagDoll(Character* character);
    ~CharacterRagDoll() override;

    void OnDisabled() override;
    void SetInitialState() override;

    // "Crumple" 0, "TakeHit" 1, anything else Random (exact spelling).
    static Effect GetEffectEnum(const std::string& text);
    // "Push": the unit vector from a to b; "Pull": from b to a; anything else zero.
    static Vec3 GetDirectionVec(const std::string& text, const WorldVec3& a, const WorldVec3& b);
    // "Right": the negated first axis of c's rotation; "Left": that axis; anything else zero.
    static Vec3 GetPushVec(const std::string& text, const WorldCoords& c);
    // "Upward" (0, 3, 0), "Downward" (0, -3, 0), anything else zero.
    static Vec3 GetElevationVec(const std::string& text);

    void SetCrumple();
    void SetTakeHit();
    void SetRandom();

    Character* GetCharacter() const { return mCharacter; }

private:
    Character* mCharacter;
};

}  // namespace GAME
