// Designer formula evaluation against muparser on the same fully bracketed formulas. Prints
// evaluations per second of both and their ratio, and fails a formula whose evaluation
// allocates.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "Engine/sys/Machine.h"
#include "Game/rules/formulas/DesignerEquation_Algebra.h"

namespace {

std::atomic<long> gAllocations{0};

}  // namespace

// Kept out of line: inlined into callers, the pairing of new and free confuses the compiler's
// mismatch check.
__attribute__((noinline)) void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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

// An owner as the game's are: a chain of exact name comparisons.
class Owner : public EquationInterface_Algebra {
public:
    bool GetDesignerVariable(const char* name, float& value) override {
        for (const auto& v : vars)
            if (std::strcmp(v.name, name) == 0) {
                value = static_cast<float>(*v.value);
                return true;
            }
        return false;
    }
    struct Var {
        const char* name;
        double* value;
    };
    double level = 12, strength = 45, dexterity = 30, bonus = 15, penalty = 3, baseDamage = 40,
           armor = 120, monsterLevel = 14, playerCount = 2;
    std::vector<Var> vars = {
        {"level", &level}, {"strength", &strength},         {"dexterity", &dexterity},
        {"bonus", &bonus}, {"penalty", &penalty},           {"baseDamage", &baseDamage},
        {"armor", &armor}, {"monsterLevel", &monsterLevel}, {"playerCount", &playerCount}};
};

void BM_Designer(benchmark::State& state) {
    Machine machine;
    MachineScope scope(machine);
    Owner owner;
    DesignerEquation_Algebra formula;
    if (!formula.ParseEquation(kFormulas[state.range(0)].text, &owner)) {
        state.SkipWithError("formula does not parse");
        return;
    }
    long i = 0;
    const long before = gAllocations.load();
    for (auto _ : state) {
        owner.level = static_cast<double>(1 + (++i & 63));
        benchmark::DoNotOptimize(formula());
    }
    const long allocations = gAllocations.load() - before;
    state.counters["allocs"] = static_cast<double>(allocations);
    if (allocations != 0)
        state.SkipWithError("evaluation allocated");
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(kFormulas[state.range(0)].name);
}

void BM_MuParser(benchmark::State& state) {
    Owner owner;
    mu::Parser parser;
    for (const auto& v : owner.vars)
        parser.DefineVar(v.name, v.value);
    parser.SetExpr(kFormulas[state.range(0)].text);
    parser.Eval();  // compiles to bytecode
    long i = 0;
    for (auto _ : state) {
        owner.level = static_cast<double>(1 + (++i & 63));
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(kFormulas[state.range(0)].name);
}

constexpr int kCount = static_cast<int>(sizeof kFormulas / sizeof kFormulas[0]);
BENCHMARK(BM_Designer)->DenseRange(0, kCount - 1);
BENCHMARK(BM_MuParser)->DenseRange(0, kCount - 1);

// Both languages must agree before their speeds are compared.
bool CheckAgreement() {
    Machine machine;
    MachineScope scope(machine);
    bool ok = true;
    for (const auto& f : kFormulas) {
        Owner owner;
        DesignerEquation_Algebra formula;
        mu::Parser parser;
        for (const auto& v : owner.vars)
            parser.DefineVar(v.name, v.value);
        parser.SetExpr(f.text);
        const bool parsed = formula.ParseEquation(f.text, &owner);
        const double ours = parsed ? formula() : 0.0;
        const double theirs = parser.Eval();
        const bool same =
            parsed && std::abs(ours - theirs) <= 1e-4 * std::max(1.0, std::abs(theirs));
        std::printf("%-12s designer %.6g  muparser %.6g  %s\n", f.name, ours, theirs,
                    same ? "agree" : "DIFFER");
        ok = ok && same;
    }
    return ok;
}

// Keeps the rates of both runs of each formula to print their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            auto it = run.counters.find("items_per_second");
            if (it == run.counters.end())
                continue;
            const std::string name = run.benchmark_name();
            const std::string index = name.substr(name.find('/') + 1);
            (name.rfind("BM_Designer", 0) == 0 ? designer : muparser)[index] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\n%-12s %16s %16s %8s\n", "formula", "designer eval/s", "muparser eval/s",
                    "ratio");
        for (int i = 0; i < kCount; ++i) {
            const std::string key = std::to_string(i);
            auto d = designer.find(key);
            auto m = muparser.find(key);
            if (d == designer.end() || m == muparser.end())
                continue;
            std::printf("%-12s %16.0f %16.0f %8.2f\n", kFormulas[i].name, d->second, m->second,
                        d->second / m->second);
        }
    }

private:
    std::map<std::string, double> designer;
    std::map<std::string, double> muparser;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!CheckAgreement())
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
