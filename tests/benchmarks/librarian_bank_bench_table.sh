#!/usr/bin/env bash
# Times the bank operations on a full bank (32,000 programs of 170 bytes) beside `cat` of the same
# file in the same run, and prints time and peak memory of each. The goal: within 3x of the read.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${TALVANE_BUILD_DIR:-$top/build}/bench
runs=${RUNS:-21}

"$top/tools/ensure-packages"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALVANE_FLAVOR=bench >/dev/null
cmake --build "$build" --target librarian_bank_bench >/dev/null
program=$build/tests/benchmarks/librarian_bank_bench
mkdir -p "$build/tests/benchmarks/scratch"
bankfile=$build/tests/benchmarks/scratch/Full.QXBank
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One short run creates the bank files (and warms the page cache, as for every line below).
"$program" --benchmark_filter='^BM_SequentialRead$' >/dev/null

# cat: the median wall time of several runs, and its peak resident memory.
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    cat "$bankfile" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
done | sort -n >"$work/cat"
cat_us=$(sed -n "$(((runs + 1) / 2))p" "$work/cat")
/usr/bin/time -f %M -o "$work/cat.rss" cat "$bankfile" >/dev/null

printf '%s: %s bytes\n\n' "$(basename "$bankfile")" "$(stat -c %s "$bankfile")"
printf '%-36s %10s %8s %14s %14s\n' operation "time ms" "x cat" "peak RSS MiB" "heap peak KiB"
awk -v us="$cat_us" -v rss="$(cat "$work/cat.rss")" 'BEGIN {
    printf "%-36s %10.3f %8.2f %14.1f %14s\n", "cat (whole file, process)", us / 1000, 1, rss / 1024, "-" }'

for bench in BM_SequentialRead BM_OpenFullBank BM_StoreIntoNearlyFullBank BM_StoreIntoFullBank \
             BM_MergeFullBankIntoEmptyBank BM_MergeFullBankIntoFullBank \
             BM_MergeOtherFullBankIntoFullBank; do
    /usr/bin/time -f %M -o "$work/rss" "$program" --benchmark_filter="^$bench\$" \
        --benchmark_format=csv >"$work/csv" 2>/dev/null
    awk -F, -v us="$cat_us" -v rss="$(cat "$work/rss")" -v name="${bench#BM_}" '
        $1 ~ /^"?BM_/ {
            ms = $3; if ($5 ~ /us/) ms /= 1000; if ($5 ~ /ns/) ms /= 1000000
            printf "%-36s %10.3f %8.2f %14.1f %14.1f\n", name, ms, ms * 1000 / us, rss / 1024, $NF
        }' "$work/csv"
done
