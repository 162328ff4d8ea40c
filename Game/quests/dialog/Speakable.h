#pragma once
// Anything that speaks a recorded line: a single line (Dialog) or a character's pack of lines.
// The end of a line is reported through a callback the caller hands to Speak.
#include <string>

namespace GAME {

class VoidCallbackFunctor {
public:
    virtual ~VoidCallbackFunctor() = default;
    virtual void operator()(int value) = 0;
};

// Calls a member function of an object it does not own.
template <class T>
class MemberCallbackFunctor final : public VoidCallbackFunctor {
public:
    MemberCallbackFunctor(T* object, void (T::*method)()) : mObject(object), mMethod(method) {}
    void operator()(int) override { (mObject->*mMethod)(); }

private:
    T* mObject;
    void (T::*mMethod)();
};

class Speakable {
public:
    virtual ~Speakable() = default;
    virtual void Update(int elapsedMs) = 0;
    virtual void Speak(VoidCallbackFunctor* onComplete) = 0;
    virtual void Stop() = 0;
    virtual void SetVolumeFade(float fade) = 0;
    virtual std::wstring GetText() const = 0;
    // Milliseconds; -1 when not known or not playing.
    virtual int GetPlaybackTime() const = 0;
    virtual bool IsSpeaking() const = 0;
};

}  // namespace GAME
