#!/usr/bin/env bash
# The release package proven under Wine the way a person uses it on Windows:
# made by scripts/package from this build, unpacked into a fresh folder whose
# path has a space and a non-ASCII character, and check\run-checks.cmd run
# from within its folder. It passes when run-checks.cmd exits 0,
# summary.txt ends with "RESULT: PASS" and names window capture unavailable
# (as it is under Wine), every check of the runner's table passed and left
# its XML, and every capture run left its first and last frame. The folder
# is removed after a pass and kept, with its path printed, after a failure.
#
#   kit_e2e.sh BUILD_DIR WORK_DIR
#
# Needs DISPLAY (scripts/test starts a private Xvfb) and the Wine prefix of
# scripts/wine-env.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build_dir=${1:?usage: kit_e2e.sh BUILD_DIR WORK_DIR}
work=${2:?usage: kit_e2e.sh BUILD_DIR WORK_DIR}

if [ -z "${DISPLAY:-}" ]; then
  echo "kit: DISPLAY is not set; the checks need a display (scripts/test starts one)" >&2
  exit 1
fi
# Wine turns Unix file names into Windows ones through the locale: without a
# UTF-8 locale (CI machines often set none) it cannot create a file under a
# non-ASCII name, and folds the ones it reads into other characters.
export LC_ALL=C.UTF-8
. "$root/scripts/wine-env"

mkdir -p "$work"
zip="$work/ORVEL-windows-x64.zip"
"$root/scripts/package" --no-build --build-dir "$build_dir" --out "$zip" || exit 1

folder=$(mktemp -d "${TMPDIR:-/tmp}/orvel kit-é.XXXXXX")
fail() {
  echo "kit: FAIL: $*" >&2
  echo "kit: the unpacked package is kept in: $folder" >&2
  exit 1
}
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$folder" ||
  fail "could not unpack $zip"

echo "kit: running check\\run-checks.cmd in $folder"
started=$SECONDS
(cd "$folder/check" && "$orvel_wine" cmd /c run-checks.cmd)
code=$?
echo "kit: run-checks.cmd ended with exit code $code after $((SECONDS - started)) s"

report="$folder/check/report"
summary="$report/summary.txt"
[ -f "$summary" ] || fail "no report/summary.txt"
[ $code -eq 0 ] || fail "run-checks.cmd exited with $code"
last=$(tail -n 1 "$summary" | tr -d '\r')
[ "$last" = "RESULT: PASS" ] || fail "the summary's last line is \"$last\""
grep -q '^platform: capture item factory: unavailable' "$summary" ||
  fail "the summary does not name window capture as unavailable"

mapfile -t checks < <("$root/scripts/package" --list-checks)
for check in "${checks[@]}"; do
  grep -q "^check $check: PASS" "$summary" || fail "no PASS line for $check"
  [ -s "$report/$check.xml" ] || fail "no report/$check.xml"
done

# Each capture run's first and last frame, under the name the checks give
# them (characters a Windows file name cannot hold become '_').
mapfile -t images < <(python3 - "$summary" <<'PY'
import re, sys
for line in open(sys.argv[1], encoding="utf-8"):
    match = re.match(r"capture run (.*?): ", line)
    if not match:
        continue
    name = re.sub(r'[\x00-\x1f\x7f<>:"/\\|?*]', "_", match.group(1)).rstrip(". ")
    name = "" if set(name) <= {"."} else name
    for end in ("first", "last"):
        print(f"{name or 'frame'}-{end}.bmp")
PY
)
[ ${#images[@]} -gt 0 ] || fail "the summary lists no capture run"
for image in "${images[@]}"; do
  [ -s "$report/$image" ] || fail "no report/$image"
done

echo "kit: PASS (${#checks[@]} checks, $((${#images[@]} / 2)) capture runs with their frames)"
rm -rf "$folder"
