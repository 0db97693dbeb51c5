#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each for SECONDS, two at a time, then prints the executions and coverage each reached.
#   scripts/fuzz.sh [SECONDS] [TARGET...]  (default 60 s; targets: midi song_file atlas_list settings)
# Seeds come from fuzz/make_corpus; what a run adds stays in build-fuzz/corpus/<target> for the next
# run. A crash, leak, hang or out-of-memory input is saved in build-fuzz/findings/<target>/ and makes
# the exit status 1.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(midi song_file atlas_list settings)
jobs=${FUZZ_JOBS:-2}
out=build-fuzz

CC=clang-14 CXX=clang++-14 cmake -S . -B "$out" -DCADENZIO_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$out" -j2 --target make_corpus "${targets[@]/%/_fuzzer}" >/dev/null || exit 1
"$out/fuzz/make_corpus" "$out/seeds" runtime/Data/Textures/notes2.txt || exit 1

run_target() {
  local target=$1 log=$out/logs/$1.log
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$out/findings/$target/")
  [[ -f fuzz/$target.dict ]] && options+=(-dict="fuzz/$target.dict")
  mkdir -p "$out/corpus/$target" "$out/findings/$target" "$out/logs"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    "$out/fuzz/${target}_fuzzer" "${options[@]}" "$out/corpus/$target" "$out/seeds/$target" \
    >"$log" 2>&1
}

status=0
pids=()
for target in "${targets[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  run_target "$target" &
  pids+=($!)
done
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  log=$out/logs/$target.log
  if wait "${pids[$i]}"; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1)
    echo "fuzz: $target: ${runs:-?} executions in ${seconds} s; cov: ${last#*cov: }"
  else
    status=1
    echo "fuzz: $target FAILED (input in $out/findings/$target/, log $log):" >&2
    grep -E -A 30 'ERROR: |runtime error|ALARM|out-of-memory' "$log" | head -n 40 >&2
  fi
done
exit $status
