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

require_tools Xvfb xdotool iconv od
begin_run

start_virtual_screen "$work" || fail "Xvfb did not start"
prepare_program "$work" "$chat" "$platform_files" \
  "<html><body><script>location.href = \"?room=$room\";</script></body></html>"

start_server "$server" "$config" "$address"
start_chat "$address"

wait_for_log "\"demo\" asked for the chatters of room $room"
window=$(xdotool search --sync --onlyvisible --pid "$chat_pid" --name '在线客服' | head -1)
[ -n "$window" ] || fail "no main window of the program on the screen"
xdotool windowfocus --sync "$window"
sleep 2  # the bot's greeting, and the room's speaking interval since the page was made
xdotool type --delay 10 "$typed"
xdotool key ctrl+Return
sleep 3  # the bot answers at once

kill -TERM "$chat_pid"
wait_for_log "\"demo\" left room $room"
wait_for_end
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
