#!/usr/bin/env bash
# The chooser in a real installer: makensis builds an amd64-unicode installer
# that pushes a preference, calls ORVELIdioma::Choose and records the answer;
# Wine runs it on the display in DISPLAY and xdotool plays the user.
#
#   chooser_installer_e2e.sh ORVELIdioma.dll WORKDIR
set -uo pipefail
dll=${1:?ORVELIdioma.dll}
work=${2:?work folder}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../../../scripts/wine-env"
. "$here/chooser_installer.sh"

[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set: run under scripts/test, which starts a display" >&2; exit 1; }
for tool in makensis xdotool; do
  command -v $tool >/dev/null || { echo "$tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
trap chooser_stop EXIT

rm -rf "$work" && mkdir -p "$work"
echo "building the installer"
chooser_build "$dll" "$work" || exit 1

# Positions inside the dialog, from its outer size: the template is 234 x 100
# dialog units, and a dialog unit is about WIDTH / 234 pixels either way. The
# Cancel button's centre lies 52.5 x 17 units from the client area's lower
# right corner; Wine draws a frame of about 3 pixels and the close box near
# the upper right corner.
click_cancel() {
  chooser_geometry
  local x=$((WIDTH - 3 - WIDTH * 525 / 2340)) y=$((HEIGHT - 3 - WIDTH * 17 / 234))
  chooser_click $x $y
}
click_close_box() {
  chooser_geometry
  chooser_click $((WIDTH - 14)) 12
}
keys() { chooser_keys "$@"; }

passed=0
failed=0
# run_case NAME PREFERENCE EXPECTED ACTION...
run_case() {
  local name=$1 preference=$2 expected=$3 answer code
  shift 3
  chooser_start "$work" "$preference"
  if ! chooser_wait_window 60; then
    chooser_stop
    echo "FAIL $name: no dialog"
    failed=$((failed + 1))
    return
  fi
  "$@" || echo "     (the action reported a failure)"
  code=0
  chooser_wait_exit 30 || code=$?
  answer=$(cat "$work/answer.txt" 2>/dev/null || echo "<no answer file>")
  if [ "$code" -eq 0 ] && [ "$answer" = "$expected" ]; then
    echo "ok   $name: \"$answer\""
    passed=$((passed + 1))
  else
    echo "FAIL $name: answer \"$answer\" (expected \"$expected\"), exit code $code"
    command -v import >/dev/null && import -window root "$work/failure-$name.png" 2>/dev/null
    failed=$((failed + 1))
  fi
}

run_case enter-on-portuguese preferred-2070 2070 keys Return
run_case enter-on-english Preferred-2070 1033 keys Return
run_case enter-after-empty-text "" 1033 keys Return
run_case enter-after-1033-text preferred-1033 1033 keys Return
run_case escape preferred-2070 cancel keys Escape
run_case tab-to-cancel-and-enter preferred-2070 cancel keys Tab Tab Return
run_case click-cancel preferred-2070 cancel click_cancel
run_case alt-f4 preferred-2070 cancel keys alt+F4
run_case close-box preferred-2070 cancel click_close_box
run_case mnemonic-p other 2070 keys p
run_case mnemonic-e preferred-2070 1033 keys e

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
