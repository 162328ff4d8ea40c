#pragma once
// A list of combat payloads that owns them, each in its own pool block. Its elements are plain
// handles, so that emptying the list hands every block back in one pass over it and then costs
// nothing per element (a list of owners would test and release each one again).
#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "Game/rules/combat/CombatAttribute.h"
#include "Game/rules/combat/CombatPayloadPool.h"

namespace GAME {

// One payload of a list, read as its owner was (get, ->, *); the list owns it.
class CombatPayloadHandle {
public:
    explicit CombatPayloadHandle(CombatAttribute* payload) : mPayload(payload) {}
    CombatAttribute* get() const { return mPayload; }
    CombatAttribute* operator->() const { return mPayload; }
    CombatAttribute& operator*() const { return *mPayload; }
    explicit operator bool() const { return mPayload != nullptr; }

private:
    CombatAttribute* mPayload;
};

class CombatPayloadList {
    using Handles = std::vector<CombatPayloadHandle, CombatPoolAllocator<CombatPayloadHandle>>;

public:
    using value_type = CombatPayloadHandle;
    using const_iterator = Handles::const_iterator;

    CombatPayloadList() = default;
    CombatPayloadList(const CombatPayloadList&) = delete;
    CombatPayloadList& operator=(const CombatPayloadList&) = delete;
    ~CombatPayloadList() { clear(); }

    std::size_t size() const { return mHandles.size(); }
    bool empty() const { return mHandles.empty(); }
    std::size_t capacity() const { return mHandles.capacity(); }
    void reserve(std::size_t count) { mHandles.reserve(count); }
    const_iterator begin() const { return mHandles.begin(); }
    const_iterator end() const { return mHandles.end(); }
    const CombatPayloadHandle& operator[](std::size_t index) const { return mHandles[index]; }
    const CombatPayloadHandle& at(std::size_t index) const { return mHandles.at(index); }
    const CombatPayloadHandle& front() const { return mHandles.front(); }
    const CombatPayloadHandle& back() const { return mHandles.back(); }

    // Takes a payload made by CombatAttribute's operator new or in a pool block; it stays with
    // its owner if the list cannot grow. Null is ignored: the list holds payloads only.
    template <class Payload, class Deleter>
    [[gnu::always_inline]] void push_back(std::unique_ptr<Payload, Deleter> payload) {
        static_assert(std::is_base_of_v<CombatAttribute, Payload>);
        if (!payload)
            return;
        mHandles.emplace_back(payload.get());
        payload.release();
    }

    // Hands every payload's block back.
    void clear() noexcept {
        if (mHandles.empty())
            return;
        CombatPayloadPool::ReleaseAll(
            mHandles, CombatAttribute::kBlockSize,
            [](const CombatPayloadHandle& payload) { return static_cast<void*>(payload.get()); });
        mHandles.clear();
    }

    // Drops the payloads `drop` picks, keeping the order of the rest.
    template <class Drop>
    void EraseIf(Drop drop) {
        std::erase_if(mHandles, [&](const CombatPayloadHandle& payload) {
            if (!drop(payload))
                return false;
            CombatAttribute::Discard(payload.get());
            return true;
        });
    }

private:
    Handles mHandles;
};

}  // namespace GAME
