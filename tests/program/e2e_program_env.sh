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

# require_tools <tool>...: exits 77 (the test is skipped) when one of the tools is missing.
require_tools() {
  local tool
  for tool; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is missing"
      exit 77
    fi
  done
}

# begin_run: makes the work folder ($work); at exit the processes started into server_pid,
# chat_pid and xvfb_pid are ended and the folder removed.
begin_run() {
  work=$(mktemp -d)
  server_pid= chat_pid= xvfb_pid=
  trap end_run EXIT
}
end_run() {
  local pid
  for pid in $chat_pid $server_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}

# fail <text>: ends the test with the text, the server's log and the program's last output.
fail() {
  echo "$1; server log:" >&2
  cat "$work/server.log" >&2
  echo "chat output:" >&2
  tail -20 "$work/chat.log" >&2
  exit 1
}

# start_server <chat-server> <config> <address>: starts the development server (its log goes to
# $work/server.log) and waits until it takes connections.
start_server() {
  "$1" --config "$2" --address "$3" 2>"$work/server.log" &
  server_pid=$!
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/$3/7088") 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the server did not start"
}

# start_chat <address>: starts the prepared program logged in as the demo account.
start_chat() {
  "$work/chat" /account:demo /pswd:FE01CE2A7FBAC8FAFAED7C982A04E229 "/server:$1" \
    >"$work/chat.log" 2>&1 &
  chat_pid=$!
}

# wait_for_log <text>: waits up to 20 s for a line of the server's log that holds the text.
wait_for_log() {
  for _ in $(seq 200); do
    grep -qF -- "$1" "$work/server.log" && return 0
    sleep 0.1
  done
  fail "no \"$1\" in the server's log"
}

# wait_for_end: waits up to 10 s for the program to end; fails when it does not.
wait_for_end() {
  for _ in $(seq 100); do
    kill -0 "$chat_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the program still runs 10 s later"
}
