#pragma once
// What an item hands the cursor when it is picked up (the cursor modes come with the inventory
// controls; an item answers none until then).
namespace GAME {

class CursorHandler {
public:
    virtual ~CursorHandler() = default;
};

}  // namespace GAME
