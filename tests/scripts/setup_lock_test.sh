#!/usr/bin/env bash
# The setup script against a package manager whose lock another program
# holds: stand-ins for dpkg-query, apt-get and sudo on PATH say a package is
# missing and hold the lock for the first few calls.
set -euo pipefail
setup=$1
fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT

cat >"$fakes/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
[[ " $* " == *" b3sum "* ]] && exit 1
printf 'install ok installed'
FAKE
cat >"$fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
calls=$(($(cat "$FAKES/calls" 2>/dev/null || echo 0) + 1))
echo "$calls" >"$FAKES/calls"
echo "$*" >>"$FAKES/log"
if ((calls <= LOCKED_CALLS)); then
  echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (unattended-upgr)" >&2
  exit 100
fi
[[ $* == *broken* ]] && { echo "E: Unable to locate package broken" >&2; exit 100; }
exit 0
FAKE
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$fakes/sudo"
chmod +x "$fakes"/*

# Runs the setup with the lock held for the first $1 calls; its output in $fakes/out.
run_setup() {
  rm -f "$fakes/calls" "$fakes/log"
  FAKES=$fakes LOCKED_CALLS=$1 PATH="$fakes:$PATH" QUELMARIS_APT_LOCK_WAIT=${2:-60} QUELMARIS_APT_LOCK_POLL=0 \
    bash "$setup" >"$fakes/out" 2>&1
}
fail() { echo "FAIL: $*"; cat "$fakes/out"; exit 1; }

run_setup 3 || fail "setup stopped while the lock was held"
[[ $(cat "$fakes/calls") == 5 ]] || fail "expected 3 refused calls, the update and the install"
grep -q '^install .*b3sum' "$fakes/log" || fail "the missing package was not installed"
[[ $(grep -c 'waiting for the package manager' "$fakes/out") == 1 ]] || fail "the wait is not said once"
grep -q 'Could not get lock' "$fakes/out" && fail "a refusal that was waited out is shown"

if run_setup 1000 0; then fail "setup succeeded with the lock never given"; fi
grep -q 'Could not get lock' "$fakes/out" || fail "giving up does not say why"
echo "ok"
