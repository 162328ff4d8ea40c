#pragma once
// The root of every controller: an object that drives one parent entity, named by id.
#include <cstdint>

#include "Engine/object/Object.h"

namespace GAME {

class Controller : public Object {
    RTTI_DECLARE(Controller)
public:
    Controller();
    ~Controller() override;

    std::uint32_t GetParentId() const { return mParentId; }
    void SetParentId(std::uint32_t id) { mParentId = id; }
    virtual void AttachParent(std::uint32_t id);
    virtual void PostParentAttached() {}

private:
    std::uint32_t mParentId = 0;
};

}  // namespace GAME
