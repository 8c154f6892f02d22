#!/usr/bin/env bash
# Plants realistic faults in the portable code, one at a time, and checks that the native tests
# notice each one. The faults are kept in scripts/mutants/<subsystem>.txt as blocks:
#
#   ## what goes wrong (as a user or device would see it)
#   file src/terminal/screen.cpp
#   -text to find (verbatim after the '-'; several '-' lines are joined with newlines)
#   +replacement (the same way; no '+' line deletes the text)
#
# The text to find must occur exactly once in the file. Every mutant is applied alone to a scratch
# copy of the working tree, the native tree (ASan + UBSan) is rebuilt incrementally there and the
# native tests run with a per-test timeout. Each mutant ends KILLED (a test failed), SURVIVED,
# TIMEOUT (a test hung: the tests must fail fast instead) or BROKEN (did not apply or compile).
#
# Usage: scripts/mutate.sh [--subsystem NAME]... [--match TEXT] [--timeout SECONDS] [--rev REV]
#   --rev REV tests the sources and tests of a commit instead of the working tree (the mutant
#   lists always come from the working tree), e.g. --rev HEAD for a "before" figure.
#   --tests 'a_tests b_tests' builds and runs only these test programs: quicker, for a subsystem
#   whose code no other test program reaches.
# Environment: ORVANE_MUTATE_DIR (scratch folder, default build/mutate),
#              ORVANE_BUILD_LOCK (a lock file: each build and test run takes place under it).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$(pwd -P)
WORK=${ORVANE_MUTATE_DIR:-build/mutate}
[[ $WORK = /* ]] || WORK=$ROOT/$WORK
COPY=$WORK/tree
BUILD=$WORK/build
TEST_TIMEOUT=60
subsystems=()
match=""
rev=""
tests=""

usage() {
    sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'
    exit "${1:-0}"
}

while (( $# )); do
    case $1 in
        --subsystem) subsystems+=("$2"); shift 2 ;;
        --match) match=$2; shift 2 ;;
        --timeout) TEST_TIMEOUT=$2; shift 2 ;;
        --rev) rev=$2; shift 2 ;;
        --tests) tests=$2; shift 2 ;;
        -h|--help) usage 0 ;;
        *) echo "mutate.sh: unknown argument '$1'" >&2; usage 2 >&2 ;;
    esac
done
if (( ${#subsystems[@]} == 0 )); then
    for f in scripts/mutants/*.txt; do
        subsystems+=("$(basename "$f" .txt)")
    done
fi

locked() {
    if [[ -n ${ORVANE_BUILD_LOCK:-} ]]; then
        flock "$ORVANE_BUILD_LOCK" "$@"
    else
        "$@"
    fi
}

TREE_PARTS=(src tests fuzz cmake CMakeLists.txt)
# The demo device's portable code and its tests (scripts/mutants/tools.txt).
[[ ! -d tools ]] || TREE_PARTS+=(tools)

# Lists the files to test: the working tree's, or those of a commit (--rev) exported to a folder.
source_files() {
    if [[ -n $rev ]]; then
        rm -rf "$WORK/export"
        mkdir -p "$WORK/export"
        git archive "$rev" -- "${TREE_PARTS[@]}" | tar -x -C "$WORK/export"
        (cd "$WORK/export" && find . -type f | sed 's|^\./||')
    else
        git ls-files -co --exclude-standard -- "${TREE_PARTS[@]}"
    fi
}

# Brings the scratch copy up to date; unchanged files keep their times, so the scratch build
# stays incremental. Files gone from the source go from the copy too.
sync_copy() {
    local f from=. list
    [[ -z $rev ]] || from=$WORK/export
    mkdir -p "$COPY"
    list=$(source_files)
    while IFS= read -r f; do
        [[ -f $from/$f ]] || continue
        if ! cmp -s "$from/$f" "$COPY/$f"; then
            mkdir -p "$COPY/$(dirname "$f")"
            cp "$from/$f" "$COPY/$f"
        fi
    done <<<"$list"
    (cd "$COPY" && find "${TREE_PARTS[@]}" -type f 2>/dev/null) | while IFS= read -r f; do
        grep -qxF "$f" <<<"$list" || rm -f "$COPY/$f"
    done
}

configure_and_build() {
    if [[ ! -f $BUILD/build.ninja ]]; then
        CC=gcc CXX=g++ locked cmake -S "$COPY" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_CXX_FLAGS_DEBUG="-O1" -DORVANE_SANITIZE=ON >/dev/null
    fi
    local targets=()
    [[ -z $tests ]] || targets=(--target $tests)
    locked cmake --build "$BUILD" -j2 "${targets[@]}" >"$WORK/build.log" 2>&1
}

# Reads a file whole, trailing newlines included.
read_whole() {
    local text
    text=$(cat "$1"; printf x)
    printf '%s' "${text%x}"
}

count_occurrences() {
    local text=$1 needle=$2 without
    without=${text//"$needle"/}
    echo $(( (${#text} - ${#without}) / ${#needle} ))
}

# Applies one mutant to the scratch copy; prints why when it cannot.
apply_mutant() {
    local file=$1 find=$2 replace=$3 target=$COPY/$1 text n
    if [[ ! -f $target ]]; then
        echo "no such file $file"
        return 1
    fi
    text=$(read_whole "$target")
    n=$(count_occurrences "$text" "$find")
    if (( n != 1 )); then
        echo "text to find occurs $n times in $file"
        return 1
    fi
    printf '%s' "${text/"$find"/"$replace"}" >"$target"
}

# The scratch copy's own file is kept aside, not re-read from the working tree, which may
# have moved on while the run goes.
save_file() {
    cp "$COPY/$1" "$WORK/original"
}

restore_file() {
    # A plain copy gives the file a new time, so the next build recompiles it.
    cp "$WORK/original" "$COPY/$1"
}

# Runs the native tests; prints KILLED, SURVIVED or TIMEOUT.
run_tests() {
    local out rc=0
    local only=()
    [[ -z $tests ]] || only=(-R "^(${tests// /|})\$")
    out=$(locked timeout $((TEST_TIMEOUT * 4)) ctest --test-dir "$BUILD" -j2 --timeout "$TEST_TIMEOUT" "${only[@]}" \
        --stop-on-failure 2>&1) || rc=$?
    if grep -q '\*\*\*Timeout' <<<"$out" || (( rc == 124 )); then
        echo TIMEOUT
    elif (( rc != 0 )); then
        echo KILLED
    else
        echo SURVIVED
    fi
}

declare -A total killed survived timedout broken
results=()

try_mutant() {
    local subsystem=$1 title=$2 file=$3 find=$4 replace=$5 why verdict
    [[ -z $match || $title == *"$match"* ]] || return 0
    [[ ! -f $COPY/$file ]] || save_file "$file"
    if ! why=$(apply_mutant "$file" "$find" "$replace"); then
        verdict=BROKEN
        title="$title ($why)"
    elif ! configure_and_build; then
        verdict=BROKEN
        title="$title (does not compile)"
    else
        verdict=$(run_tests)
    fi
    [[ ! -f $COPY/$file ]] || restore_file "$file"
    total[$subsystem]=$(( ${total[$subsystem]:-0} + 1 ))
    case $verdict in
        KILLED) killed[$subsystem]=$(( ${killed[$subsystem]:-0} + 1 )) ;;
        SURVIVED) survived[$subsystem]=$(( ${survived[$subsystem]:-0} + 1 )) ;;
        TIMEOUT) timedout[$subsystem]=$(( ${timedout[$subsystem]:-0} + 1 )) ;;
        BROKEN) broken[$subsystem]=$(( ${broken[$subsystem]:-0} + 1 )) ;;
    esac
    local line
    line=$(printf '%-9s %-10s %s: %s' "$verdict" "$subsystem" "$file" "$title")
    results+=("$line")
    echo "$line"
}

# Walks one list, calling try_mutant for each complete block.
run_list() {
    local subsystem=$1 list=scripts/mutants/$1.txt line title="" file="" find="" replace=""
    local have_find=0 have_replace=0
    if [[ ! -f $list ]]; then
        echo "mutate.sh: no mutant list $list" >&2
        return 1
    fi
    flush() {
        if [[ -n $title ]]; then
            if [[ -z $file || $have_find == 0 ]]; then
                echo "mutate.sh: $list: mutant '$title' needs a file line and a '-' line" >&2
                exit 2
            fi
            try_mutant "$subsystem" "$title" "$file" "$find" "$replace"
        fi
        title="" file="" find="" replace="" have_find=0 have_replace=0
    }
    while IFS= read -r line || [[ -n $line ]]; do
        case $line in
            '## '*) flush; title=${line#'## '} ;;
            'file '*) file=${line#file } ;;
            -*) if (( have_find )); then find+=$'\n'; fi; find+=${line#-}; have_find=1 ;;
            +*) if (( have_replace )); then replace+=$'\n'; fi; replace+=${line#+}; have_replace=1 ;;
            *) ;;
        esac
    done <"$list"
    flush
}

mkdir -p "$WORK"
echo "scratch copy: $COPY"
sync_copy
if ! configure_and_build; then
    echo "mutate.sh: the unmutated tree does not build (see $WORK/build.log)" >&2
    exit 1
fi
if [[ $(run_tests) != SURVIVED ]]; then
    echo "mutate.sh: the unmutated tree fails its tests; fix that first" >&2
    exit 1
fi

for s in "${subsystems[@]}"; do
    run_list "$s"
done

printf '\n%-10s %6s %7s %9s %8s %7s %7s\n' subsystem total killed survived timeout broken killed%
for s in "${subsystems[@]}"; do
    t=${total[$s]:-0} k=${killed[$s]:-0} sv=${survived[$s]:-0} to=${timedout[$s]:-0} b=${broken[$s]:-0}
    judged=$(( k + sv + to ))
    pct=$(( judged ? 100 * k / judged : 0 ))
    printf '%-10s %6d %7d %9d %8d %7d %6d%%\n' "$s" "$t" "$k" "$sv" "$to" "$b" "$pct"
done
printf '%s\n' "${results[@]}" >"$WORK/report.txt"
echo "report: $WORK/report.txt"
