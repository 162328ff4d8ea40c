// Engine benchmarks: record loading, object lookup and the per-machine engine handles. After
// the Google Benchmark table, each goal is timed side by side with its yardstick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unordered_map>

#include "BenchCompare.h"
#include "Engine/Engine.h"
#include "Engine/object/ObjectManager.h"
#include "Engine/records/RecordData.h"
#include "Engine/records/RecordDatabase.h"
#include "Game/core/GameEngine.h"

using namespace GAME;

namespace {

constexpr int kRecordCount = 1000;
constexpr int kObjectCount = 100000;

std::filesystem::path MakeRecords(int count) {
    const auto root = std::filesystem::temp_directory_path() / "game_bench_records";
    std::filesystem::create_directories(root / "Records" / "Bench");
    for (int i = 0; i < count; ++i) {
        std::string file = "R";
        file += std::to_string(i);
        file += ".dbr";
        std::ofstream out(root / "Records" / "Bench" / file);
        out << R"({"Class": "Actor", "level": )" << i
            << R"(, "damage": [1, 2, 3, 4, 5, 6, 7, 8], "name": "tagMonster", "chance": 12.5})";
    }
    return root;
}

std::string RecordName(int i) {
    std::string name = "records/bench/r";
    name += std::to_string(i);
    name += ".dbr";
    return name;
}

// A fresh machine loads every record through its database; the sum of the levels read.
int LoadAll(const std::filesystem::path& root) {
    Machine machine;
    MachineScope scope(machine);
    auto& db = Singleton<RecordDatabase>::Get();
    db.SetDataRoot(root);
    int sum = 0;
    for (int i = 0; i < kRecordCount; ++i)
        sum += db.Get(RecordName(i)).GetInt("level");
    return sum;
}

// The general parser's reading of one record, field by field, as the database read every record
// before it parsed the usual ones directly.
std::shared_ptr<RecordData> ParseGenerally(const std::string& name, const std::string& text) {
    auto data = std::make_shared<RecordData>();
    data->name = name;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return data;
    for (auto it = json.begin(); it != json.end(); ++it) {
        const nlohmann::json& j = it.value();
        RecordValue v;
        if (j.is_number()) {
            v.kind = RecordValue::Kind::Number;
            v.number = j.get<double>();
        } else if (j.is_string()) {
            v.kind = RecordValue::Kind::String;
            v.text = j.get<std::string>();
        } else if (j.is_array() &&
                   std::all_of(j.begin(), j.end(), [](const auto& e) { return e.is_number(); })) {
            v.kind = RecordValue::Kind::NumberList;
            for (const auto& e : j)
                v.numbers.push_back(e.get<double>());
        }
        data->fields.emplace(it.key(), std::move(v));
    }
    return data;
}

// The yardstick, loading as it was done before: names found by resolving each file's path
// relative to the root (system calls per file), files read through a string stream, every
// record parsed by the general JSON parser and cached by name.
int LoadAllResolvingPaths(const std::filesystem::path& root) {
    Machine machine;
    MachineScope scope(machine);
    std::unordered_map<std::string, std::filesystem::path> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec))
            files.emplace(RecordDatabase::NormalizeName(
                              std::filesystem::relative(it->path(), root, ec).generic_string()),
                          it->path());
    std::unordered_map<std::string, std::shared_ptr<const RecordData>> cache;
    int sum = 0;
    for (int i = 0; i < kRecordCount; ++i) {
        const std::string name = RecordName(i);
        std::ifstream in(files.at(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        auto data = ParseGenerally(name, text.str());
        sum += static_cast<int>(data->fields.at("level").number);
        cache.emplace(RecordDatabase::NormalizeName(name), std::move(data));
    }
    return sum;
}

void BM_Load1000Records(benchmark::State& state) {
    const auto root = MakeRecords(kRecordCount);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAll(root));
    state.SetItemsProcessed(state.iterations() * kRecordCount);
}
BENCHMARK(BM_Load1000Records)->Unit(benchmark::kMillisecond);

// The next id to look up: strides of a prime through the ids (a subtraction, not a division,
// so the step costs little beside the lookup it feeds).
std::size_t Step(std::size_t i, std::size_t count) {
    i += 7919;
    return i >= count ? i - count : i;
}

void BM_GetObjectAmong100k(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    gEngine->SetLogSink([](int, const char*, const std::string&) {});
    auto& om = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < kObjectCount; ++i)
        ids.push_back(om.CreateObject("Actor")->GetObjectId());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(om.GetObject<Actor>(ids[i]));
        i = Step(i, ids.size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetObjectAmong100k);

bool GoalRecords() {
    const auto root = MakeRecords(kRecordCount);
    int sums[2] = {0, 0};
    const bench::SideBySide t = bench::Alternate(
        [&] { sums[0] = LoadAll(root); }, [&] { sums[1] = LoadAllResolvingPaths(root); }, 1, 11);
    const double speedup = t.second / t.first;
    std::printf(
        "1,000 records: %.2f ms; as before (resolving paths, streaming files, general "
        "parser) %.2f ms\n",
        t.first / 1e6, t.second / 1e6);
    bench::PrintGoal("loading 1,000 records",
                     bench::Format("%.2f ms, ", t.first / 1e6) +
                         bench::Format("%.1fx faster than loading as before", speedup),
                     ">= 4x faster", speedup >= 4.0);
    return sums[0] == sums[1];
}

bool GoalGetObject() {
    Machine machine;
    MachineScope scope(machine);
    auto& om = Singleton<ObjectManager>::Get();
    std::vector<std::uint32_t> ids;
    // The yardstick: a node-based hash map of the same objects, the class read from the object.
    std::unordered_map<std::uint32_t, Object*> nodes;
    for (int i = 0; i < kObjectCount; ++i) {
        Object* object = om.CreateObject("Actor");
        ids.push_back(object->GetObjectId());
        nodes.emplace(object->GetObjectId(), object);
    }
    std::size_t i = 0, j = 0;
    bool agree = true;
    const bench::SideBySide t = bench::Alternate(
        [&] {
            Actor* actor = om.GetObject<Actor>(ids[i]);
            agree &= actor != nullptr;
            benchmark::DoNotOptimize(actor);
            i = Step(i, ids.size());
        },
        [&] {
            auto it = nodes.find(ids[j]);
            Object* object = it == nodes.end() ? nullptr : it->second;
            Actor* actor = object && object->GetClassInfo().IsA(Actor::classInfo)
                               ? static_cast<Actor*>(object)
                               : nullptr;
            benchmark::DoNotOptimize(actor);
            j = Step(j, ids.size());
        },
        // Long rounds: each side reaches its own steady state in the caches before it is timed
        // for most of the round.
        500000, 11);
    std::printf("GetObject<Actor> among 100,000: %.1f ns; node hash map %.1f ns\n", t.first,
                t.second);
    bench::PrintGoal(
        "GetObject by id among 100,000, class checked",
        bench::Format("%.1f ns", t.first) + bench::Format(" (node hash map %.1f ns)", t.second),
        "< 20 ns", t.first < 20.0);
    return agree;
}

bool GoalHandles() {
    Machine machine;
    MachineScope scope(machine);
    Engine* plain = gEngine;
    // Forces a fresh read of the handle every call, as a frame's scattered accesses do.
    const bench::SideBySide engine =
        bench::Alternate([] { benchmark::DoNotOptimize(gEngine->GetGameTime()); },
                         [plain] {
                             Engine* const* at = &plain;
                             benchmark::DoNotOptimize(at);
                             benchmark::DoNotOptimize((*at)->GetGameTime());
                         },
                         200000);
    const bench::SideBySide root =
        bench::Alternate([] { benchmark::DoNotOptimize(static_cast<GameEngine*>(gGameEngine)); },
                         [] { benchmark::DoNotOptimize(gEngine->GetGameTime()); }, 200000);
    std::printf("gEngine access %.2f ns (a plain pointer %.2f ns); gGameEngine %.2f ns\n",
                engine.first, engine.second, root.first);
    const double worst = std::max(engine.first, root.first);
    bench::PrintGoal("per-frame access to gEngine / gGameEngine",
                     bench::Format("gEngine %.1f ns, ", engine.first) +
                         bench::Format("gGameEngine %.1f ns", root.first),
                     "a few ns (<= 5 ns)", worst <= 5.0);
    return plain == static_cast<Engine*>(gEngine);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = bench::ColourArgs(argc, argv);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const bool records = GoalRecords();
    const bool objects = GoalGetObject();
    const bool handles = GoalHandles();
    if (!records || !objects || !handles) {
        std::printf("engine_bench: the two sides of a comparison disagree\n");
        return 1;
    }
    return 0;
}
