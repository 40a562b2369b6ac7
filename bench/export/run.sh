#!/usr/bin/env bash
# tanu-export against the matplotlib peer on this machine: warm time per chart, one chart from a
# cold start (and the floor under it: starting Qt and measuring one text), --jobs 2 against
# --jobs 1 on 1,000 profiles, and peak memory.
# Usage: bench/export/run.sh PEER_SCRIPT [profiles]   (1000 profiles by default)
# PEER_SCRIPT is the matplotlib chart script to compare with; it needs python3-matplotlib and bc.
set -euo pipefail
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "Usage: $0 PEER_SCRIPT [profiles]" >&2
    exit 2
fi
peer=$(realpath "$1")
count="${2:-1000}"
cd "$(dirname "$0")/../.."
root=$(pwd)
for needed in bc; do
    command -v "$needed" >/dev/null || { echo "$0 needs $needed" >&2; exit 2; }
done
/usr/bin/python3 -c 'import matplotlib' 2>/dev/null ||
    { echo "$0 needs python3-matplotlib for the peer" >&2; exit 2; }
cmake --preset release >/dev/null
cmake --build --preset release --target tanu-export tanu_qt_text_floor >/dev/null
exe="$root/build/release/bin/tanu-export"
floor="$root/build/release/bench/export/tanu_qt_text_floor"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/profiles" "$work/out" "$work/peer"

# Varied profiles: names, dates of birth from 2005 to 2020, empty and filled domains.
python3 - "$work/profiles" "$count" <<'PY'
import random, sys
folder, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(10)
for k in range(count):
    born = f"{rng.randint(2005, 2020)}/{rng.randint(1, 12)}/{rng.randint(1, 28)}"
    values = [str(rng.randint(2, 22)) if rng.random() < 0.85 else "0" for _ in range(10)]
    lines = [f"Student {k:04d}", born, "2026/11/30", "Bench"] + values
    with open(f"{folder}/p{k:04d}.tanu", "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
PY

# Median over n runs of "$@": wall seconds and CPU seconds (user + system), timed to the
# microsecond (a cold chart takes some 50 ms, too short for /usr/bin/time's hundredths). The
# machine is shared, so the CPU time is the steadier figure.
median() { # n command...
    /usr/bin/python3 - "$@" <<'PY'
import resource, statistics, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
walls, cpus = [], []
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    walls.append(time.perf_counter() - start)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
print(f"{statistics.median(walls):.6f} {statistics.median(cpus):.6f}")
PY
}
median5() { median 5 "$@"; }
wall() { echo "$1" | cut -d' ' -f1; }
cpu() { echo "$1" | cut -d' ' -f2; }
files() { ls "$work"/profiles/*.tanu | head -n "$1"; }
# The commands measured: tanu-export on the first n profiles, and the peer drawing n charts.
ours() { echo "$exe" --jobs "$1" --on 2026/12/06 --output-dir "$work/out" $(files "$2"); }
theirs() { echo /usr/bin/python3 "$peer" "$1" "$work/peer"; }
per() { echo "($1) / $2" | bc -l; }

# Warm: the cost of one more chart in a running process, reading and writing included.
one=$(median 21 $(ours 1 1))
many1=$(median5 $(ours 1 201))
many2=$(median5 $(ours 2 201))
peer_one=$(median 9 $(theirs 1))
qt_floor=$(median 21 "$floor")
peer_many=$(median5 $(theirs 51))
warm_wall=$(per "$(wall "$many1") - $(wall "$one")" 200)
warm_cpu=$(per "$(cpu "$many1") - $(cpu "$one")" 200)
warm2_wall=$(per "$(wall "$many2") - $(wall "$one")" 200)
peer_warm_wall=$(per "$(wall "$peer_many") - $(wall "$peer_one")" 50)
peer_warm_cpu=$(per "$(cpu "$peer_many") - $(cpu "$peer_one")" 50)
# The peer's own figure, measured inside its process.
peer_inside=$($(theirs 50) | sed -n 's/.*: \([0-9.]*\) ms per chart/\1/p')

# Throughput on the whole batch, and peak memory.
jobs1=$(median5 $(ours 1 "$count"))
jobs2=$(median5 $(ours 2 "$count"))
rss() { # jobs n
    /usr/bin/time -v "$exe" --jobs "$1" --on 2026/12/06 --output-dir "$work/out" $(files "$2") \
        2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
rss_small=$(rss 2 100)
rss_full=$(rss 2 "$count")
bytes=$(du -cb "$work"/out/*.png | tail -1 | cut -f1)
pngs=$(ls "$work"/out/*.png | wc -l)

ms() { echo "$1 * 1000" | bc -l; }
ratio() { echo "$1 / $2" | bc -l; }
echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)   peer's own warm figure: $peer_inside ms"
printf '%-46s %10s %10s %8s\n' "" "tanu" "peer" "ratio"
printf '%-46s %7.2f ms %7.2f ms %7.1fx\n' \
    "warm per chart, wall, --jobs 1" "$(ms "$warm_wall")" "$(ms "$peer_warm_wall")" \
    "$(ratio "$peer_warm_wall" "$warm_wall")" \
    "warm per chart, wall, --jobs 2" "$(ms "$warm2_wall")" "$(ms "$peer_warm_wall")" \
    "$(ratio "$peer_warm_wall" "$warm2_wall")" \
    "warm per chart, CPU" "$(ms "$warm_cpu")" "$(ms "$peer_warm_cpu")" \
    "$(ratio "$peer_warm_cpu" "$warm_cpu")"
printf '%-46s %8.3f s %8.3f s %7.1fx\n' \
    "cold, one chart, wall" "$(wall "$one")" "$(wall "$peer_one")" \
    "$(ratio "$(wall "$peer_one")" "$(wall "$one")")" \
    "cold, one chart, CPU" "$(cpu "$one")" "$(cpu "$peer_one")" \
    "$(ratio "$(cpu "$peer_one")" "$(cpu "$one")")"
printf '%-46s %8.3f s %8.3f s %7.1fx\n' \
    "Qt floor: start Qt, measure one text, wall" "$(wall "$qt_floor")" "$(wall "$peer_one")" \
    "$(ratio "$(wall "$peer_one")" "$(wall "$qt_floor")")"
printf '%-46s %8.2f s %8.2f s %7.2fx\n' "$count profiles, wall: --jobs 1 | --jobs 2" \
    "$(wall "$jobs1")" "$(wall "$jobs2")" "$(ratio "$(wall "$jobs1")" "$(wall "$jobs2")")"
printf '%-46s %7d kB %7d kB\n' "peak memory, --jobs 2: 100 | $count profiles" "$rss_small" "$rss_full"
printf '%-46s %10d\n' "PNG bytes per chart (mean)" "$((bytes / pngs))"
