#pragma once
// An object of the object manager that one owner holds: kept by id, so an object the manager
// already destroyed (a machine tearing down, newest first) is never touched again.
#include <cstdint>

#include "Engine/object/ObjectManager.h"

namespace GAME {

template <class T>
class OwnedObject {
public:
    OwnedObject() = default;
    explicit OwnedObject(const char* sourceFile) : mSourceFile(sourceFile) {}
    ~OwnedObject() { Reset(); }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;

    T* Get() const { return mId ? Singleton<ObjectManager>::Get().GetObject<T>(mId) : nullptr; }
    explicit operator bool() const { return Get() != nullptr; }
    T* operator->() const { return Get(); }
    std::uint32_t GetId() const { return mId; }

    // Destroys the held object (when it still lives) and holds the new one.
    void Reset(T* object = nullptr) {
        if (T* old = Get(); old && old != object)
            Singleton<ObjectManager>::Get().DestroyObjectEx(old, mSourceFile, 0);
        mId = object ? object->GetObjectId() : 0;
    }
    // Gives the object up without destroying it.
    T* Release() {
        T* object = Get();
        mId = 0;
        return object;
    }

private:
    std::uint32_t mId = 0;
    const char* mSourceFile = "Game/Item";
};

}  // namespace GAME
