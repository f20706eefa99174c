#!/usr/bin/env bash
# End to end: the development server with the demo data, and the built chat program on a virtual X
# screen whose room selection page follows "?room=2", the room where the demo bot lives. The test
# types a message into the room's input box (which has the keyboard focus once the room's tab
# shows) and sends it with Ctrl+Enter, the default send key; the bot answers. SIGTERM then closes
# the program the way its window's close button does. Passes when the server saw the leave
# command and the room's record file holds the typed message and the bot's answer.
#   e2e_room_chat.sh <chat> <chat-server> <make-platform-files> <demo.json>
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
source "$(dirname "$0")/../program/e2e_program_env.sh"
chat=$1 server=$2 platform_files=$3 config=$4
address=127.0.0.24
room=2
typed="hello from the e2e test"

for tool in Xvfb xdotool iconv od; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is missing"
    exit 77
  fi
done

work=$(mktemp -d)
server_pid= chat_pid= xvfb_pid=
cleanup() {
  for pid in $chat_pid $server_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "$1; server log:" >&2
  cat "$work/server.log" >&2
  echo "chat output:" >&2
  tail -20 "$work/chat.log" >&2
  exit 1
}

wait_for_log() {
  for _ in $(seq 200); do
    grep -qF -- "$1" "$work/server.log" && return 0
    sleep 0.1
  done
  fail "no \"$1\" in the server's log"
}

start_virtual_screen "$work" || fail "Xvfb did not start"
prepare_program "$work" "$chat" "$platform_files" \
  "<html><body><script>location.href = \"?room=$room\";</script></body></html>"

"$server" --config "$config" --address "$address" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/$address/7088") 2>/dev/null && break
  sleep 0.1
done

"$work/chat" /account:demo /pswd:FE01CE2A7FBAC8FAFAED7C982A04E229 "/server:$address" \
  >"$work/chat.log" 2>&1 &
chat_pid=$!

wait_for_log "\"demo\" asked for the chatters of room $room"
window=$(xdotool search --sync --onlyvisible --pid "$chat_pid" --name '在线客服' | head -1)
[ -n "$window" ] || fail "no main window of the program on the screen"
xdotool windowfocus --sync "$window"
sleep 1  # the bot's greeting, and the room's first-speech interval
xdotool type --delay 10 "$typed"
xdotool key ctrl+Return
sleep 3  # the bot answers at once; the records are kept in memory until the program ends

kill -TERM "$chat_pid"
wait_for_log "\"demo\" left room $room"
for _ in $(seq 100); do
  kill -0 "$chat_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$chat_pid" 2>/dev/null && fail "the program still runs 10 s after SIGTERM"
chat_pid=

records="$work/config-home/Palvern/chatrec0000000$room.dat"
[ -f "$records" ] || fail "no record file for room $room"
hex() { od -An -v -tx1 | tr -d ' \n'; }
kept=$(hex <"$records")
keeps() { [[ "$kept" == *"$1"* ]]; }
keeps "$(printf '%s' "$typed" | iconv -f UTF-8 -t UTF-16LE | hex)" ||
  fail "the record file lacks the typed message"
keeps "$(printf 'bot_xiaomo' | hex)" || fail "the record file lacks the bot's answer"
echo "the typed message and the bot's answer are kept in $(basename "$records")"
