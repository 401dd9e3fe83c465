#!/bin/bash
# The reminder's benchmarks, printed as a Markdown fragment:
#   bench/reminder_benchmarks.sh BUILD_DIR [RUNS]
# - Avisela with nothing to announce, as a whole process, at 1,000, 10,000 and 100,000
#   contacts, against the plain streaming reader (bench/PlainStreamingReader: 64 KiB blocks,
#   memchr for the line ends, field 3's day and month) on the same file, and against Debian's
#   birthday on the same entries (birthday -f FILE -W 3) when it is installed;
# - the same scan and reader in one process, at 100,000 contacts (scan_benchmark);
# - the time until both windows are painted (warm), on a private X server;
# - the age update of 100,000 contacts with 300 birthdays today.
# Every figure is the median of RUNS runs (default 100) after a few warm-up runs: the files are
# in the page cache.
set -euo pipefail

build=$(cd "${1:?usage: reminder_benchmarks.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-100}
bin=$build/bin
tools=$build/bench
for tool in "$bin/Avisela" "$bin/libavisela_windows.so" "$bin/make_contacts" "$tools/plain_reader" \
    "$tools/process_timer" "$tools/windows_probe" "$tools/age_update_benchmark" \
    "$tools/scan_benchmark"; do
    [ -e "$tool" ] || { echo "missing $tool: build the project first" >&2; exit 1; }
done
have_birthday=$(command -v birthday || true)

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

today=$(date +%F)
median() { "$tools/process_timer" --runs "$1" "${@:2}" | cut -d' ' -f1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "### Reminder start-up with nothing to announce (median of $runs runs, warm cache)"
echo
echo "| Contacts | Avisela | Plain reader | birthday -W 3 | Avisela / reader | birthday / Avisela |"
echo "|---:|---:|---:|---:|---:|---:|"
for count in 1000 10000 100000; do
    dir=$work/nothing-due-$count
    mkdir -p "$dir"
    cp "$bin/Avisela" "$dir/"
    "$bin/make_contacts" "$count" "$dir/data.tvl" --nothing-due-from "$today"
    if [ -n "$have_birthday" ]; then
        # The same entries in birthday's format: Name=DD/MM/YYYY.
        LC_ALL=C awk -F $'\xa7' '{ print $1 "=" $4 "/1990" }' "$dir/data.tvl" >"$dir/birthdays"
        if [ -n "$(birthday -f "$dir/birthdays" -W 3)" ]; then
            echo "birthday found something due in the generated file" >&2
            exit 1
        fi
    fi
    "$dir/Avisela" || { echo "Avisela failed on the nothing-due file" >&2; exit 1; }

    avisela=$(median "$runs" -- "$dir/Avisela")
    reader=$(median "$runs" -- "$tools/plain_reader" "$dir/data.tvl")
    if [ -n "$have_birthday" ]; then
        bday=$(median "$runs" -- "$have_birthday" -f "$dir/birthdays" -W 3)
        printf "| %'d | %.2f ms | %.2f ms | %.2f ms | %s× | %s× |\n" "$count" "$avisela" \
            "$reader" "$bday" "$(ratio "$avisela" "$reader")" "$(ratio "$bday" "$avisela")"
    else
        printf "| %'d | %.2f ms | %.2f ms | not installed | %s× | |\n" "$count" "$avisela" \
            "$reader" "$(ratio "$avisela" "$reader")"
    fi
done
echo

echo "### The scan and the plain reader in one process, 100,000 contacts (median of 20)"
echo
in_process=$("$tools/scan_benchmark" --benchmark_format=csv --benchmark_repetitions=20 \
    --benchmark_report_aggregates_only=true 2>/dev/null)
scan=$(awk -F, '/NothingDueScan.*_median"/ { print $3 }' <<<"$in_process")
plain=$(awk -F, '/PlainStreamingReader.*_median"/ { print $3 }' <<<"$in_process")
printf "Nothing-due scan %.2f ms, plain streaming reader %.2f ms: %s×\n" "$scan" "$plain" \
    "$(ratio "$scan" "$plain")"
echo

# Both windows, from the start of the process until both are painted.
if command -v Xvfb >/dev/null; then
    display_file=$work/display
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
    export DISPLAY=:$(head -n1 "$display_file")
    export XDG_RUNTIME_DIR=$work
    dir=$work/windows
    mkdir -p "$dir"
    cp "$bin/libavisela_windows.so" "$bin/Cumple.WAV" "$dir/"
    "$bin/make_contacts" 1000 "$dir/data.tvl" --nothing-due-from "$today" --today 3
    for days in 1 3; do
        printf 'Probe %s\xa7\xa730\xa7%s\xa7\xa7\xa7\xa7\xa7\r\n' "$days" \
            "$(date -d "+$days day" +%d/%m)" >>"$dir/data.tvl"
    done
    painted=$(median "$((runs / 2))" --until-output --quiet -- "$tools/windows_probe" "$dir")
    echo "### Both reminder windows painted (median of $((runs / 2)) runs, warm, Xvfb)"
    echo
    printf "From the start of the process until both windows are painted: %.1f ms\n" "$painted"
    echo
fi

echo "### Age update of 100,000 contacts with 300 birthdays today"
echo
update=$("$tools/age_update_benchmark" --benchmark_format=csv --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null |
    awk -F, '/_median"/ { print $3 }')
printf "One locked, synced rewrite with 300 marker files: %.1f ms (median of 5)\n" "$update"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
    "$(uname -sr)."
