# Sourced by scripts/plugin-screenshot: builds the test installer around a
# built ORVELIdioma.dll, runs it under Wine and finds its dialog on the X
# display in DISPLAY. (installer_test plays the same installer with Win32
# input instead.)
#
# Needs: makensis, xdotool; WINEPREFIX and friends from scripts/wine-env.

chooser_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
chooser_root=$(cd "$chooser_here/../../.." && pwd)
chooser_pid=""
chooser_window=""

# chooser_build DLL WORKDIR: WORKDIR/chooser-installer.exe, with the DLL in
# WORKDIR/plugins as the amd64-unicode plug-in folder.
chooser_build() {
  local dll=$1 work=$2
  mkdir -p "$work/plugins"
  cp "$dll" "$work/plugins/ORVELIdioma.dll"
  makensis -V2 -DPLUGIN_DIR="$work/plugins" -DOUT_FILE="$work/chooser-installer.exe" \
    "$chooser_here/chooser_installer.nsi"
}

# chooser_start WORKDIR PREFERENCE: starts the installer in the background;
# it writes its answer to WORKDIR/answer.txt (first line: the answer). The
# path goes through Wine's Z: drive, bare: GetOptions ends a bare value at the
# next "/", and a Windows path has none.
chooser_start() {
  local work=$1 preference=$2
  rm -f "$work/answer.txt"
  "$chooser_root/scripts/wine-run" "$work/chooser-installer.exe" "/PREF=$preference" \
    "/ANSWER=Z:${work//\//\\}\\answer.txt" </dev/null >/dev/null 2>&1 &
  chooser_pid=$!
}

# chooser_wait_window SECONDS: sets chooser_window to the X window of the
# visible dialog; fails when none shows in time or the installer has ended.
chooser_wait_window() {
  local deadline=$((SECONDS + $1))
  chooser_window=""
  while [ $SECONDS -lt $deadline ]; do
    chooser_window=$(xdotool search --onlyvisible --name '^ORVEL .+ Idioma / Language$' 2>/dev/null | head -n 1 || true)
    [ -n "$chooser_window" ] && return 0
    kill -0 "$chooser_pid" 2>/dev/null || { echo "the installer ended without showing the dialog" >&2; return 1; }
    sleep 0.1
  done
  echo "no dialog within $1 s" >&2
  return 1
}

# chooser_wait_exit SECONDS: waits for the installer and returns its exit
# code; kills it and fails when it is still running at the deadline.
chooser_wait_exit() {
  local deadline=$((SECONDS + $1)) code
  while kill -0 "$chooser_pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      echo "the installer did not end within $1 s" >&2
      chooser_stop
      return 124
    fi
    sleep 0.1
  done
  code=0
  wait "$chooser_pid" || code=$?
  chooser_pid=""
  return $code
}

# chooser_stop: ends the installer this script started, if it still runs.
chooser_stop() {
  if [ -n "$chooser_pid" ]; then
    kill "$chooser_pid" 2>/dev/null || true
    wait "$chooser_pid" 2>/dev/null || true
    chooser_pid=""
  fi
}

# chooser_keys KEY...: types the keys into the dialog. The dialog gets the X
# input focus first (Wine then makes it the foreground window, which is where
# Wine sends keyboard input), and the keys go through XTEST without naming the
# window: `xdotool key --window` sends the key-up to a window that the key-down
# may already have closed, dies on the X error and leaves the key held down,
# and the X server's auto-repeat then presses it in every later dialog.
chooser_keys() {
  timeout 10 xdotool windowfocus --sync "$chooser_window" || return 1
  xdotool key --delay 100 "$@"
}

# chooser_geometry: sets X, Y, WIDTH and HEIGHT of chooser_window (the whole
# dialog, caption and frame drawn by Wine included).
chooser_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$chooser_window")"
}
