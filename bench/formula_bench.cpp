// Designer formula evaluation against muparser on the same fully bracketed formulas, with two
// owners: one that binds its variables in place and one that answers them by name through the
// game's perfect-hash name table (each name found once per formula, then asked by its slot). The
// comparison proper alternates the two sides in rounds within one run; its lines all begin with
// "formula comparison". A formula whose evaluation allocates, or that disagrees with muparser or
// with its own tree, fails the run.
#include <benchmark/benchmark.h>
#include <muParser.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "BenchCompare.h"
#include "CountedAllocations.h"
#include "Engine/sys/Machine.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"
#include "Game/rules/formulas/DesignerVariableNames.h"

using namespace GAME;

namespace {

struct Formula {
    const char* name;
    const char* text;
};

// 10 to 20 nodes each, written so that both languages read the same tree.
const Formula kFormulas[] = {
    {"hit_chance", "((level*(strength/10))+(dexterity*0.5))*((1+(bonus/100))-(penalty*0.01))"},
    {"damage", "((baseDamage*(1+(strength/100)))*(1-(armor/(armor+(level*50)))))+(bonus*2)"},
    {"experience", "((level^2)*(monsterLevel+5))/((playerCount*0.5)+(1+(penalty/10)))"},
};
constexpr int kCount = static_cast<int>(std::size(kFormulas));

enum class Binding { Bound, ByName };
constexpr const char* kBindingNames[] = {"bound", "by-name"};
constexpr double kGoals[] = {2.0, 1.0};  // speed relative to muparser

// The values live as doubles for muparser; the formula reads them as floats either way.
class Owner : public EquationInterface_Algebra {
public:
    static constexpr DesignerVariableNames<9> kNames{{"level", "strength", "dexterity", "bonus",
                                                      "penalty", "baseDamage", "armor",
                                                      "monsterLevel", "playerCount"}};

    explicit Owner(Binding binding) : mBinding(binding) {}

    bool GetDesignerVariable(const char* name, float& value) override {
        const int index = kNames.Find(name);
        if (index == kNames.kNotFound)
            return false;
        value = static_cast<float>(values[static_cast<std::size_t>(index)]);
        return true;
    }
    EquationBinding BindDesignerVariable(const char* name) override {
        const int index = kNames.Find(name);
        if (mBinding != Binding::Bound || index == kNames.kNotFound)
            return {};
        return EquationBinding(&values[static_cast<std::size_t>(index)]);
    }
    // The by-name owner finds each name once per formula; evaluations then ask by its index.
    int ResolveDesignerVariable(const char* name) override {
        const int index = kNames.Find(name);
        return index == kNames.kNotFound ? kNoSlot : index;
    }
    bool GetDesignerVariableAt(int slot, float& value) override {
        if (slot < 0 || static_cast<std::size_t>(slot) >= values.size())
            return false;
        value = static_cast<float>(values[static_cast<std::size_t>(slot)]);
        return true;
    }
    void Define(mu::Parser& parser) {
        for (std::size_t i = 0; i < kNames.size(); ++i)
            parser.DefineVar(std::string(kNames.GetName(i)), &values[i]);
    }
    double& level() { return values[0]; }

    std::array<double, 9> values = {12, 45, 30, 15, 3, 40, 120, 14, 2};

private:
    Binding mBinding;
};

// One formula on both sides, sharing the owner's values.
struct Pair {
    explicit Pair(int index, Binding binding) : owner(binding) {
        parsed = formula.ParseEquation(kFormulas[index].text, &owner);
        owner.Define(parser);
        parser.SetExpr(kFormulas[index].text);
        parser.Eval();  // compiles to bytecode
    }
    Owner owner;
    DesignerEquation_Algebra formula;
    mu::Parser parser;
    bool parsed = false;
};

void BM_Designer(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    Pair pair(static_cast<int>(state.range(0)), static_cast<Binding>(state.range(1)));
    if (!pair.parsed) {
        state.SkipWithError("formula does not parse");
        return;
    }
    long i = 0;
    const long before = gAllocations.load();
    for (auto _ : state) {
        pair.owner.level() = static_cast<double>(1 + (++i & 63));
        benchmark::DoNotOptimize(pair.formula());
    }
    const long allocations = gAllocations.load() - before;
    state.counters["allocs"] = static_cast<double>(allocations);
    if (allocations != 0)
        state.SkipWithError("evaluation allocated");
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(kFormulas[state.range(0)].name) + " " +
                   kBindingNames[state.range(1)]);
}

void BM_MuParser(benchmark::State& state) {
    Pair pair(static_cast<int>(state.range(0)), Binding::Bound);
    long i = 0;
    for (auto _ : state) {
        pair.owner.level() = static_cast<double>(1 + (++i & 63));
        benchmark::DoNotOptimize(pair.parser.Eval());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(kFormulas[state.range(0)].name);
}

BENCHMARK(BM_Designer)->ArgsProduct({benchmark::CreateDenseRange(0, kCount - 1, 1), {0, 1}});
BENCHMARK(BM_MuParser)->DenseRange(0, kCount - 1);

// Both languages, and the program and its tree, must agree before speeds are compared.
bool CheckAgreement() {
    Machine machine;
    MachineScope scope(machine);
    bool ok = true;
    for (int i = 0; i < kCount; ++i) {
        for (Binding binding : {Binding::Bound, Binding::ByName}) {
            Pair pair(i, binding);
            for (double level : {1.0, 7.0, 64.0}) {
                pair.owner.level() = level;
                const float ours = pair.parsed ? pair.formula() : 0.0f;
                const float tree = pair.parsed ? pair.formula.EvaluateTree() : 1.0f;
                const double theirs = pair.parser.Eval();
                const bool same = pair.parsed && std::memcmp(&ours, &tree, sizeof ours) == 0 &&
                                  std::abs(ours - theirs) <= 1e-4 * std::max(1.0, std::abs(theirs));
                if (!same || level == 1.0)
                    std::printf(
                        "%-12s %-8s level %-3g designer %.6g  tree %.6g  muparser %.6g  %s\n",
                        kFormulas[i].name, kBindingNames[static_cast<int>(binding)], level, ours,
                        tree, theirs, same ? "agree" : "DIFFER");
                ok = ok && same;
            }
        }
    }
    return ok;
}

// Median nanoseconds per evaluation of each side, the sides alternating (and taking turns to go
// first) in rounds, so that frequency changes and noise fall on both alike.
struct Comparison {
    double designerNs = 0;
    double muparserNs = 0;
    long allocations = 0;
};

Comparison Compare(int index, Binding binding) {
    constexpr int kRounds = 31;
    constexpr int kBatch = 20000;
    Machine machine;
    MachineScope scope(machine);
    Pair pair(index, binding);
    std::vector<double> designer;
    std::vector<double> muparser;
    designer.reserve(kRounds);
    muparser.reserve(kRounds);
    Comparison result;
    auto timeDesigner = [&] {
        const long before = gAllocations.load();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i) {
            pair.owner.level() = static_cast<double>(1 + (i & 63));
            benchmark::DoNotOptimize(pair.formula());
        }
        const auto end = std::chrono::steady_clock::now();
        result.allocations += gAllocations.load() - before;
        designer.push_back(std::chrono::duration<double, std::nano>(end - start).count() / kBatch);
    };
    auto timeMuparser = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i) {
            pair.owner.level() = static_cast<double>(1 + (i & 63));
            benchmark::DoNotOptimize(pair.parser.Eval());
        }
        const auto end = std::chrono::steady_clock::now();
        muparser.push_back(std::chrono::duration<double, std::nano>(end - start).count() / kBatch);
    };
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            timeDesigner();
            timeMuparser();
        } else {
            timeMuparser();
            timeDesigner();
        }
    }
    std::sort(designer.begin(), designer.end());
    std::sort(muparser.begin(), muparser.end());
    result.designerNs = designer[kRounds / 2];
    result.muparserNs = muparser[kRounds / 2];
    return result;
}

// The comparison's lines; false when a designer evaluation allocated.
bool PrintComparison() {
    const char* tag = "formula comparison";
    std::printf(
        "\n%s: designer formula vs muparser, sides alternating in one run; median ns per "
        "evaluation; ratio = muparser ns / designer ns\n",
        tag);
    std::printf("%s: %-12s %-8s %12s %12s %8s %6s\n", tag, "formula", "owner", "designer ns",
                "muparser ns", "ratio", "goal");
    bool ok = true;
    for (Binding binding : {Binding::Bound, Binding::ByName}) {
        const int b = static_cast<int>(binding);
        double worst = 1e300;
        for (int i = 0; i < kCount; ++i) {
            const Comparison c = Compare(i, binding);
            const double ratio = c.muparserNs / c.designerNs;
            worst = std::min(worst, ratio);
            std::printf("%s: %-12s %-8s %12.1f %12.1f %8.2f %6.1f%s\n", tag, kFormulas[i].name,
                        kBindingNames[b], c.designerNs, c.muparserNs, ratio, kGoals[b],
                        c.allocations ? "  ALLOCATED" : "");
            ok = ok && c.allocations == 0;
        }
        std::printf("%s: %s owner, slowest formula: ratio %.2f, goal %.1f: %s\n", tag,
                    kBindingNames[b], worst, kGoals[b], worst >= kGoals[b] ? "met" : "NOT MET");
        bench::PrintGoal(
            std::string("designer formula vs muparser, ") + kBindingNames[b] + " owner",
            bench::Format("slowest formula at %.2fx muparser's speed", worst),
            bench::Format(">= %.0fx muparser", kGoals[b]), worst >= kGoals[b]);
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!CheckAgreement())
        return 1;
    benchmark::ConsoleReporter reporter(isatty(STDOUT_FILENO)
                                            ? benchmark::ConsoleReporter::OO_Defaults
                                            : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool ok = PrintComparison();
    benchmark::Shutdown();
    return ok ? 0 : 1;
}
