#!/usr/bin/env bash
# Times Quelmaris's scan against the established duplicate finders on one
# reference corpus, warm and (as root) cold, and checks our groups against
# the corpus manifest.
#
#   bench/compare_peers.sh [small|large] [RUNS]
#
# Environment: BUILD=build (where scan_bench lives), PEERS="jdupes fdupes rdfind rmlint",
# COLD=1 to add the cold-cache rows (needs root), CORPORA=/tmp.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
shared=${SHARED_BENCH:-$here/../shared/bench}
size=${1:-large}
runs=${2:-3}
build=${BUILD:-$here/build}
corpora=${CORPORA:-/tmp}
peers=${PEERS:-jdupes fdupes rdfind rmlint}
bench=$build/bench/scan_bench
root=$corpora/corpus-$size
out=$(mktemp -d /tmp/quelmaris-bench.XXXXXX)

need=()
for tool in hyperfine $peers; do command -v "$tool" >/dev/null || need+=("$tool"); done
if ((${#need[@]})); then
  sudo_cmd=(); [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  { "${sudo_cmd[@]}" apt-get update -qq && DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
      --no-install-recommends "${need[@]}"; } >&2
fi
[[ -x $bench ]] || { echo "build first: cmake --build $build" >&2; exit 1; }

if [[ ! -f $root.manifest.json ]]; then
  case $size in
    small) args=(--seed 1 --files 20000 --dirs 2000 --depth 12) ;;
    large) args=(--seed 2 --files 200000 --dirs 20000 --depth 16 --large 24 --name-decoys 1000
                 --headtail-decoys 40 --hardlinks 1000 --empty 200) ;;
    *) echo "corpus: small or large" >&2; exit 2 ;;
  esac
  python3 "$shared/make_corpus.py" --root "$root" "${args[@]}" >&2
fi

echo "== correctness: content-only sets against the manifest" >&2
"$bench" --content-only --min-size 1 --io 8 --list "$out/ours.out" "$root" | tee "$out/ours.json"
python3 "$shared/check_groups.py" fdupes "$out/ours.out" "$root" "$root.manifest.json" | tee "$out/ours.check.json"

declare -A CMD=(
  [jdupes]="jdupes -r -q '$root' > /dev/null"
  [fdupes]="fdupes -r -q -n '$root' > /dev/null"
  [rdfind]="rdfind -dryrun true -makeresultsfile true -outputname '$out/rdfind.out' '$root' > /dev/null"
  [rmlint]="rmlint -T df -o fdupes:'$out/rmlint.out' '$root'"
)
ours=(
  "quelmaris content io8|$bench --content-only --min-size 1 --io 8 '$root'"
  "quelmaris content auto|$bench --content-only --min-size 1 '$root'"
  "quelmaris name+verify io8|$bench --io 8 '$root'"
)

time_all() {  # mode (warm|cold), then "name|command" pairs
  local mode=$1; shift
  local prep=(--warmup 1)
  [[ $mode == cold ]] && prep=(--warmup 0 --prepare 'sync; echo 3 > /proc/sys/vm/drop_caches')
  local args=()
  for entry in "$@"; do args+=(-n "${entry%%|*}" "${entry#*|}"); done
  hyperfine --style basic --runs "$runs" "${prep[@]}" --export-json "$out/$mode.json" "${args[@]}" >&2
  python3 - "$out/$mode.json" "$mode" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
med = {r["command"]: r["median"] for r in results}
ref = med.get("jdupes")
print(f"\n{sys.argv[2]} page cache (median of runs, seconds; ratio to jdupes)")
for name, t in med.items():
    ratio = f"{t / ref:.2f}x" if ref else "-"
    print(f"  {name:28s} {t:7.3f}  {ratio}")
PY
}

warm=()
for p in $peers; do warm+=("$p|${CMD[$p]}"); done
time_all warm "${ours[@]}" "${warm[@]}"
if [[ ${COLD:-0} == 1 ]]; then
  time_all cold "${ours[0]}" "jdupes|${CMD[jdupes]}"
fi
echo "results in $out" >&2
