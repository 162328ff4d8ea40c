#include "Engine/anim/AnimationLibrary.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Engine/Engine.h"
#include "Engine/anim/GraphicsAnim.h"
#include "Engine/anim/Skeleton.h"
#include "Engine/records/RecordDatabase.h"
#include "Engine/sys/Machine.h"

namespace GAME {

namespace {

constexpr const char* kDefaultSkeleton = "Default";
constexpr float kDefaultLengthMs = 1000.0f;
constexpr int kDefaultFrameRate = 30;

using Json = nlohmann::json;

// Reads [x, y, z]; false (value untouched) for anything else.
bool ReadVec3(const Json& j, Vec3& out) {
    if (!j.is_array() || j.size() != 3)
        return false;
    for (const auto& c : j)
        if (!c.is_number())
            return false;
    out = Vec3(j[0].get<float>(), j[1].get<float>(), j[2].get<float>());
    return IsFinite(out.x) && IsFinite(out.y) && IsFinite(out.z);
}

// A number field, or the default when absent; NaN (rejected by the range checks) for any other
// kind of value.
double NumberOf(const Json& j, const char* key, double defaultValue) {
    auto it = j.find(key);
    if (it == j.end())
        return defaultValue;
    return it->is_number() ? it->get<double>() : std::nan("");
}

std::string TextOf(const Json& j, const char* key) {
    auto it = j.find(key);
    return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

AnimationLibrary::AnimationLibrary() = default;
AnimationLibrary::~AnimationLibrary() = default;

void AnimationLibrary::EnsureLoaded() {
    if (mLoaded)
        return;
    mLoaded = true;
    const std::filesystem::path root = Singleton<RecordDatabase>::Get().GetDataRoot();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    const std::filesystem::path folder = root / "Animations";
    if (!root.empty() && std::filesystem::is_directory(folder, error)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file() && entry.path().extension() == ".json")
                files.push_back(entry.path());
    }
    // File-name order: every machine resolves duplicate names the same way.
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (!in.good() && !in.eof()) {
            gEngine->Log(1, "Animation table %s cannot be read", file.string().c_str());
            continue;
        }
        AddTableText(file.string(), text.str());
    }
    AddDefaults();
}

void AnimationLibrary::AddDefaults() {
    if (!FindSkeleton(kDefaultSkeleton)) {
        auto skeleton = std::make_unique<Skeleton>(kDefaultSkeleton);
        skeleton->AddBone(Name::Create("Bone_Root"), Name(), Vec3());
        mSkeletons.push_back(std::move(skeleton));
    }
    const std::string key = RecordDatabase::NormalizeName(GraphicsAnim::GetDefaultName());
    if (!mClipsByName.contains(key)) {
        auto clip =
            std::make_unique<GraphicsAnim>(GraphicsAnim::GetDefaultName(), kDefaultLengthMs,
                                           kDefaultFrameRate, 1.0f, FindSkeleton(kDefaultSkeleton));
        mClipsByName.emplace(key, clip.get());
        mClips.push_back(std::move(clip));
    }
}

bool AnimationLibrary::AddTableText(std::string_view origin, std::string_view jsonText) {
    const std::string from(origin);
    Json table = Json::parse(jsonText.begin(), jsonText.end(), nullptr, false);
    if (table.is_discarded() || !table.is_object()) {
        gEngine->Log(1, "Animation table %s is not a JSON object; ignored", from.c_str());
        return false;
    }
    // Skeletons first: clips of the same table may name them.
    if (auto skeletons = table.find("skeletons");
        skeletons != table.end() && skeletons->is_object()) {
        for (const auto& [name, body] : skeletons->items()) {
            if (FindSkeleton(name)) {
                gEngine->Log(1, "Animation table %s: skeleton %s defined twice; the first stays",
                             from.c_str(), name.c_str());
                continue;
            }
            auto skeleton = std::make_unique<Skeleton>(name);
            if (auto bones = body.find("bones"); bones != body.end() && bones->is_array()) {
                for (const auto& bone : *bones) {
                    Vec3 offset;
                    if (bone.contains("offset") && !ReadVec3(bone["offset"], offset))
                        gEngine->Log(1, "Animation table %s: skeleton %s: bad offset of bone %s",
                                     from.c_str(), name.c_str(), TextOf(bone, "name").c_str());
                    if (!skeleton->AddBone(Name::Create(TextOf(bone, "name")),
                                           Name::Create(TextOf(bone, "parent")), offset))
                        gEngine->Log(1,
                                     "Animation table %s: skeleton %s: bone \"%s\" (parent \"%s\") "
                                     "skipped: unnamed, repeated or its parent is not before it",
                                     from.c_str(), name.c_str(), TextOf(bone, "name").c_str(),
                                     TextOf(bone, "parent").c_str());
                }
            }
            if (auto points = body.find("attachPoints");
                points != body.end() && points->is_array()) {
                for (const auto& point : *points) {
                    Vec3 offset;
                    if (point.contains("offset") && !ReadVec3(point["offset"], offset))
                        gEngine->Log(1, "Animation table %s: skeleton %s: bad offset of point %s",
                                     from.c_str(), name.c_str(), TextOf(point, "name").c_str());
                    if (!skeleton->AddAttachPoint(Name::Create(TextOf(point, "name")),
                                                  Name::Create(TextOf(point, "bone")), offset))
                        gEngine->Log(1,
                                     "Animation table %s: skeleton %s: attach point \"%s\" skipped "
                                     "(unnamed, repeated or unknown bone \"%s\")",
                                     from.c_str(), name.c_str(), TextOf(point, "name").c_str(),
                                     TextOf(point, "bone").c_str());
                }
            }
            mSkeletons.push_back(std::move(skeleton));
        }
    }
    auto clips = table.find("clips");
    if (clips == table.end() || !clips->is_object())
        return true;
    for (const auto& [name, body] : clips->items()) {
        const std::string key = RecordDatabase::NormalizeName(name);
        if (mClipsByName.contains(key)) {
            gEngine->Log(1, "Animation table %s: clip %s defined twice; the first stays",
                         from.c_str(), name.c_str());
            continue;
        }
        if (!body.is_object()) {
            gEngine->Log(1, "Animation table %s: clip %s is not an object; skipped", from.c_str(),
                         name.c_str());
            continue;
        }
        const double length = NumberOf(body, "length", kDefaultLengthMs);
        const double frameRate = NumberOf(body, "frameRate", kDefaultFrameRate);
        const double speed = NumberOf(body, "speed", 1.0);
        // A pass must take time, or looping would never leave a frame.
        if (!(length >= 1.0 && length <= 3.6e6) || !(frameRate >= 1.0 && frameRate <= 1000.0) ||
            !(speed >= 0.0 && speed <= 1000.0)) {
            gEngine->Log(1,
                         "Animation table %s: clip %s: length (1 ms .. 1 hour), frameRate "
                         "(1..1000) or speed (0..1000) missing a number or out of range; skipped",
                         from.c_str(), name.c_str());
            continue;
        }
        std::string skeletonName = TextOf(body, "skeleton");
        if (skeletonName.empty())
            skeletonName = kDefaultSkeleton;
        const Skeleton* skeleton = FindSkeleton(skeletonName);
        if (!skeleton && skeletonName != kDefaultSkeleton)
            gEngine->Log(1, "Animation table %s: clip %s: unknown skeleton %s; the default is used",
                         from.c_str(), name.c_str(), skeletonName.c_str());
        if (!skeleton) {
            AddDefaults();
            skeleton = GetDefaultSkeleton();
        }
        auto clip = std::make_unique<GraphicsAnim>(name, static_cast<float>(length),
                                                   static_cast<int>(frameRate),
                                                   static_cast<float>(speed), skeleton);
        if (auto events = body.find("events"); events != body.end() && events->is_array()) {
            for (const auto& event : *events) {
                const std::string eventName = TextOf(event, "name");
                const auto time = event.find("time");
                if (eventName.empty() || time == event.end() || !time->is_number() ||
                    !(time->get<double>() >= 0.0) || time->get<double>() > length) {
                    gEngine->Log(1,
                                 "Animation table %s: clip %s: event \"%s\" needs a name and a "
                                 "time within the clip; skipped",
                                 from.c_str(), name.c_str(), eventName.c_str());
                    continue;
                }
                // The end of every pass sends "End" by itself.
                if (eventName == "End")
                    continue;
                clip->AddEvent(Name::Create(eventName), time->get<float>());
            }
        }
        if (auto motions = body.find("boneMotion"); motions != body.end() && motions->is_array()) {
            for (const auto& motion : *motions) {
                const int bone = skeleton->FindBone(Name::Create(TextOf(motion, "bone")));
                Vec3 displacement;
                if (bone < 0 || !motion.contains("displacement") ||
                    !ReadVec3(motion["displacement"], displacement)) {
                    gEngine->Log(1, "Animation table %s: clip %s: bone motion of \"%s\" skipped",
                                 from.c_str(), name.c_str(), TextOf(motion, "bone").c_str());
                    continue;
                }
                clip->AddBoneMotion(bone, displacement);
            }
        }
        if (auto ragDoll = body.find("ragDoll"); ragDoll != body.end()) {
            static constexpr const char* kRagDollKeys[] = {"effect", "direction", "push",
                                                           "elevation"};
            bool wellFormed = ragDoll->is_object();
            for (const char* field : kRagDollKeys)
                wellFormed =
                    wellFormed && (!ragDoll->contains(field) || ragDoll->at(field).is_string());
            if (wellFormed)
                clip->SetRagDoll({TextOf(*ragDoll, "effect"), TextOf(*ragDoll, "direction"),
                                  TextOf(*ragDoll, "push"), TextOf(*ragDoll, "elevation")});
            else
                gEngine->Log(1,
                             "Animation table %s: clip %s: \"ragDoll\" must be an object of "
                             "texts (effect, direction, push, elevation); skipped",
                             from.c_str(), name.c_str());
        }
        mClipsByName.emplace(key, clip.get());
        mClips.push_back(std::move(clip));
    }
    return true;
}

GraphicsAnim* AnimationLibrary::FindClip(std::string_view name) {
    EnsureLoaded();
    auto it = mClipsByName.find(RecordDatabase::NormalizeName(name));
    return it == mClipsByName.end() ? nullptr : it->second;
}

const Skeleton* AnimationLibrary::FindSkeleton(std::string_view name) {
    for (const auto& skeleton : mSkeletons)
        if (skeleton->GetName() == name)
            return skeleton.get();
    return nullptr;
}

const Skeleton* AnimationLibrary::GetDefaultSkeleton() {
    EnsureLoaded();
    return FindSkeleton(kDefaultSkeleton);
}

std::size_t AnimationLibrary::GetClipCount() {
    EnsureLoaded();
    return mClips.size();
}

}  // namespace GAME
