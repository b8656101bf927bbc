#!/usr/bin/env bash
# Fuzzes the driver-mode message loop for a bounded time: builds the fuzz
# preset and runs libFuzzer from the committed seed corpus. Fails on a crash,
# a leak, a timeout or a broken output check.
#
#   fuzz/run.sh SECONDS
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
cd "$(dirname "$0")/.."

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target server_fuzz -j2

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work=build/fuzz/run
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
build/fuzz/server_fuzz "$work/corpus" fuzz/corpus \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
