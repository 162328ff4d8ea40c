#!/usr/bin/env bash
# The tests that run threads, under ThreadSanitizer: the level loads on its own thread while the
# game thread asks about what it fills, and quest state is saved on its own thread while the
# quests go on stepping. Only those two test programs are built, to keep CI short.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-$(nproc)}"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$jobs" --target loader_tests quests_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
# run <program> <filter> <cases>: a renamed case must not leave the run quietly empty.
run() {
    local out
    out="$("build/tsan/tests/$1" --gtest_filter="$2" 2>&1)" || { echo "$out"; exit 1; }
    grep -q "PASSED  \] $3 tests" <<<"$out" || { echo "$out"; echo "$1: expected $3 tests"; exit 1; }
    echo "$1: $3 tests passed under ThreadSanitizer"
}
run loader_tests 'LevelLoaderThread.*' 2
run quests_tests 'QuestRepositoryTest.QuestStateSurvives*:QuestRepositoryTest.SavesInTheBackground*' 2
