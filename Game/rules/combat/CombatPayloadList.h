#pragma once
// A list of combat payloads that owns them, each in its own recycled block. Its elements are plain
// handles, so that emptying the list hands every block back in one pass over it and then costs
// nothing per element (a list of owners would test and release each one again). The first
// kInline handles live in the list itself: an attack's lists take no block for their handles and
// give none back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <type_traits>

#include "Engine/sys/RecycledBlocks.h"
#include "Game/rules/combat/CombatAttribute.h"

namespace GAME {

// One payload of a list, read as its owner was (get, ->, *); the list owns it.
class CombatPayloadHandle {
public:
    // Left unset: only the list's unused room is made this way.
    CombatPayloadHandle() = default;
    explicit CombatPayloadHandle(CombatAttribute* payload) : mPayload(payload) {}
    CombatAttribute* get() const { return mPayload; }
    CombatAttribute* operator->() const { return mPayload; }
    CombatAttribute& operator*() const { return *mPayload; }
    explicit operator bool() const { return mPayload != nullptr; }

private:
    CombatAttribute* mPayload;
};

class CombatPayloadList {
public:
    using value_type = CombatPayloadHandle;
    using const_iterator = const CombatPayloadHandle*;
    // Room held in the list itself, enough for most attacks.
    static constexpr std::size_t kInline = 16;

    CombatPayloadList() = default;
    CombatPayloadList(const CombatPayloadList&) = delete;
    CombatPayloadList& operator=(const CombatPayloadList&) = delete;
    ~CombatPayloadList() {
        clear();
        if (mData != mInline)
            RecycledBlocks::Give(mData, mCapacity * sizeof(CombatPayloadHandle));
    }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    std::size_t capacity() const { return mCapacity; }
    void reserve(std::size_t count) {
        if (count > mCapacity)
            Grow(count);
    }
    const_iterator begin() const { return mData; }
    const_iterator end() const { return mData + mSize; }
    const CombatPayloadHandle& operator[](std::size_t index) const { return mData[index]; }
    const CombatPayloadHandle& at(std::size_t index) const {
        if (index >= mSize)
            throw std::out_of_range("CombatPayloadList::at");
        return mData[index];
    }
    const CombatPayloadHandle& front() const { return mData[0]; }
    const CombatPayloadHandle& back() const { return mData[mSize - 1]; }

    // Takes a payload made by CombatAttribute's operator new or in a recycled block; it stays with
    // its owner if the list cannot grow. Null is ignored: the list holds payloads only.
    template <class Payload, class Deleter>
    [[gnu::always_inline]] void push_back(std::unique_ptr<Payload, Deleter> payload) {
        static_assert(std::is_base_of_v<CombatAttribute, Payload>);
        if (!payload)
            return;
        if (mSize == mCapacity) [[unlikely]]
            Grow(mCapacity * 2);
        mData[mSize++] = CombatPayloadHandle(payload.release());
    }

    // Appends into room reserved beforehand, unchecked, keeping the end here: the list learns
    // its size on Commit; Resume picks it up again after the list was used otherwise. No
    // destructor commits: a cleanup on unwinding would keep the end out of a register, so the
    // user commits before anything that may throw (a batch of rolls reserves its blocks).
    class ReservedAppender {
    public:
        explicit ReservedAppender(CombatPayloadList& list) : mList(list) { Resume(); }
        ReservedAppender(const ReservedAppender&) = delete;
        ReservedAppender& operator=(const ReservedAppender&) = delete;

        [[gnu::always_inline]] void Append(CombatAttribute* payload) {
            *mEnd++ = CombatPayloadHandle(payload);
        }
        // Gives the number of payloads appended since the last Resume (the list's size is the
        // one it had then, so that no start is held alongside the end).
        std::size_t Commit() noexcept {
            const auto size = static_cast<std::uint32_t>(mEnd - mList.mData);
            const std::size_t appended = size - mList.mSize;
            mList.mSize = size;
            return appended;
        }
        void Resume() noexcept { mEnd = mList.mData + mList.mSize; }

    private:
        CombatPayloadList& mList;
        CombatPayloadHandle* mEnd = nullptr;
    };

    // Hands every payload's block back.
    void clear() noexcept {
        if (mSize == 0)
            return;
        std::span<CombatPayloadHandle> held(mData, mSize);
        RecycledBlocks::GiveAll(
            held, CombatAttribute::kBlockSize,
            [](const CombatPayloadHandle& payload) { return static_cast<void*>(payload.get()); });
        mSize = 0;
    }

    // Drops the payloads `drop` picks, keeping the order of the rest.
    template <class Drop>
    void EraseIf(Drop drop) {
        CombatPayloadHandle* kept =
            std::remove_if(mData, mData + mSize, [&](const CombatPayloadHandle& payload) {
                if (!drop(payload))
                    return false;
                CombatAttribute::Discard(payload.get());
                return true;
            });
        mSize = static_cast<std::uint32_t>(kept - mData);
    }

private:
    // Moves the handles to a recycled block of room for `count` (more than now).
    [[gnu::noinline]] void Grow(std::size_t count) {
        auto* data = static_cast<CombatPayloadHandle*>(
            RecycledBlocks::Take(count * sizeof(CombatPayloadHandle)));
        std::copy(mData, mData + mSize, data);
        if (mData != mInline)
            RecycledBlocks::Give(mData, mCapacity * sizeof(CombatPayloadHandle));
        mData = data;
        mCapacity = static_cast<std::uint32_t>(count);
    }

    CombatPayloadHandle* mData = mInline;
    std::uint32_t mSize = 0;
    std::uint32_t mCapacity = kInline;
    CombatPayloadHandle mInline[kInline];
};

}  // namespace GAME
