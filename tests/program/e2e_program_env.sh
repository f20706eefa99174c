# Sourced by the end-to-end test and by the start-up bench (bench/startup_time.sh): runs the chat
# program on a virtual X screen of its own, from a work folder that holds a copy of the program,
# its platform files and its settings and data folders.

# start_virtual_screen <work>: starts Xvfb on a free display (it writes the display number once it
# is ready), sets xvfb_pid and exports DISPLAY. Fails when the screen does not come up in 5 s.
start_virtual_screen() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$1/display" ] && break
    sleep 0.05
  done
  [ -s "$1/display" ] || return 1
  export DISPLAY=":$(head -1 "$1/display")"
}

# prepare_program <work> <chat> <make-platform-files> <room page html>: the platform files sit
# beside the program file, so the program runs from a copy in the work folder ($1/chat), with the
# given room selection page; exports the environment it runs with.
prepare_program() {
  cp "$2" "$1/chat"
  printf '%s\n' "$4" >"$1/rooms.html"
  "$3" "$1" --room-page "file://$1/rooms.html" >/dev/null
  mkdir -p "$1/config-home" "$1/data-home" "$1/runtime"
  chmod 700 "$1/runtime"
  export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$1/config-home" XDG_DATA_HOME="$1/data-home" \
    XDG_RUNTIME_DIR="$1/runtime" QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
}
