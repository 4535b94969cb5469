#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/*.cpp, in build/fuzz) and runs each over its seed corpus
# (fuzz/corpus/<target>):
#   scripts/fuzz.sh ci         replays every seed, then fuzzes with a fixed seed and a fixed number
#                              of runs: the same inputs every time, so a green main stays green
#   scripts/fuzz.sh long [s]   fuzzes with fresh seeds for s seconds a target (default 600); what it
#                              finds new is kept in build/fuzz/corpus for the next long run
# Every target runs even when one fails; a finding leaves its input in build/fuzz/findings and
# the exit status fails. Only the seed corpus in the repository is ever read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-ci}
seconds=${2:-600}
build=build/fuzz
# Runs a target in the CI, about a minute at most each with the sanitizers on one core: the
# targets that go through a pseudo-terminal or build long lines run fewer.
declare -A ci_runs=([aux_search]=150000 [reflectogram]=100000 [log_values]=300000 [config_file]=500000)

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"
mkdir -p "$build/findings"

failed=()
for source in fuzz/*.cpp; do
  target=$(basename "$source" .cpp)
  seeds=fuzz/corpus/$target
  work=$build/corpus/$target
  [ "$mode" = ci ] && rm -rf "$work"
  mkdir -p "$work"
  options=(-artifact_prefix="$build/findings/$target-" -print_final_stats=1)
  if [ "$mode" = ci ]; then
    steps=("-runs=0 $seeds" "-seed=1 -runs=${ci_runs[$target]:-2000000} $work $seeds")
  else
    steps=("-max_total_time=$seconds $work $seeds")
  fi
  for step in "${steps[@]}"; do
    echo "== $target $step"
    # shellcheck disable=SC2086
    if ! "$build/$target" "${options[@]}" $step 2>"$build/$target.log"; then
      tail -n 40 "$build/$target.log"
      failed+=("$target")
      break
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$build/$target.log" || true
  done
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets with findings: ${failed[*]}" >&2
  exit 1
fi
