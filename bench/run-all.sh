#!/usr/bin/env bash
# Builds Release and prints one table of every benchmark's figures (markdown, for the README).
#   bench/run-all.sh
#   QUORVEL_BENCH_PACED=1 bench/run-all.sh   # also the profile over a pty paced at 57600 baud (30+ minutes)
# Figures vary with what else the machine is doing; run it on a quiet machine.
# QUORVEL_BENCH_FULL=1 adds the full 60000-article read and write over the paced pty (about 10.5 minutes each).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh >/dev/null
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
b=build-release/bench
devsim=build-release/sim/quorvel-devsim
log=$(mktemp)

row() { # row "what" command...: one table row per output line of the command
  local what=$1; shift
  "$@" >"$log" 2>/dev/null || echo "(failed: $*)" >"$log"
  grep -v -E '^\s*$' "$log" | while IFS= read -r line; do
    printf '| %s | %s |\n' "$what" "$(echo "$line" | sed -E 's/\s+/ /g; s/\|/\//g')"
    what=""
  done
}

echo "| benchmark | result |"
echo "|---|---|"
row "start-up to first painted window (tool, one-label and empty window), memory" "$b/startup_bench" 5
row "recogniser throughput (no handlers)" "$b/recogniser_bench"
row "one round trip over loopback TCP, printer in its own process" "$b/roundtrip_bench" --devsim "$devsim"
row "60000 articles over loopback TCP: tool" "$b/article_transfer_bench" --devsim "$devsim"
row "60000 articles over loopback TCP: bare client" "$b/bare_article_chain" --devsim "$devsim"
row "60000 articles over loopback TCP: communication log window closed / open" "$b/commlog_window_bench" --devsim "$devsim"
row "60000 articles over loopback TCP: quorvel-cli" "$b/cli_article_bench" --devsim "$devsim" --cli build-release/src/cli/quorvel-cli
row "1000 articles over a pty paced at 57600 baud: tool" "$b/article_pty_bench" --devsim "$devsim"
row "1000 articles over a pty paced at 57600 baud: bare" "$b/article_pty_bench" --devsim "$devsim" --bare
row "300 articles read (range 1..300) over a pty paced at 57600 baud: tool" "$b/article_pty_bench" --devsim "$devsim" --articles 300 --range
row "12 changed articles written (4 runs) over a pty paced at 57600 baud: tool, and where the time beyond the line goes" "$b/article_pty_bench" --devsim "$devsim" --changed 12 --phases
row "the same 12 records written over the same pty: bare" "$b/article_pty_bench" --devsim "$devsim" --changed 12 --bare
row "300 articles read over the same pty: bare" "$b/article_pty_bench" --devsim "$devsim" --articles 300 --bare
row "300 articles written (range 1..300) over the same pty: tool" "$b/article_pty_bench" --devsim "$devsim" --articles 300 --write
row "the same 300 records written over the same pty: bare" "$b/article_pty_bench" --devsim "$devsim" --articles 300 --write --bare
row "the same two with the printer on a core of its own" "$b/article_pty_bench" --devsim "$devsim" --articles 300 --range --own-core
row "" "$b/article_pty_bench" --devsim "$devsim" --changed 12 --own-core
row "12 articles over the same pty: bare, printer on a core of its own" "$b/article_pty_bench" --devsim "$devsim" --bare --articles 12 --own-core
[ -n "${QUORVEL_BENCH_FULL:-}" ] && row "60000 articles read (whole range) over a pty paced at 57600 baud: tool" "$b/article_pty_bench" --devsim "$devsim" --articles 60000 --range
[ -n "${QUORVEL_BENCH_FULL:-}" ] && row "60000 articles written (whole range) over the same pty: tool" "$b/article_pty_bench" --devsim "$devsim" --articles 60000 --write
row "article file (60000 rows) and grid" "$b/ArticleFileBench" 5
row "whole-device profile, 60000 articles, loopback TCP" "$b/profile_bench" --devsim "$devsim"
# Paced at 57600 baud the same backup and restore take more than half an hour: only when asked.
[ "${QUORVEL_BENCH_PACED:-0}" = 1 ] &&
  row "whole-device profile, 60000 articles, pty paced at 57600 baud" "$b/profile_bench" --devsim "$devsim" --pty --baud 57600
[ -x "$b/event_loop_stall_bench" ] && row "longest event-loop stall, 60000-article transfer" "$b/event_loop_stall_bench" --devsim "$devsim"
rm -f "$log"
