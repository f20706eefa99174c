#!/usr/bin/env bash
# End to end on a virtual screen: the development server with the demo data, and the built chat
# program whose room selection page picks room 2, where the demo bot lives. The test types a
# message into the room's input box and presses Enter; the bot answers. After the program is
# closed (SIGTERM closes its window as a user would) the room's record file holds both messages.
#   e2e_room_chat.sh <chat> <chat-server> <make-platform-files> <demo.json>
set -euo pipefail
if [ -z "${E2E_ON_XVFB:-}" ]; then
  if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "xvfb-run and xdotool are needed (scripts/setup installs them)" >&2
    exit 1
  fi
  E2E_ON_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x800x24' "$0" "$@"
fi
chat=$1 server=$2 platform_files=$3 config=$4
address=127.0.0.24
typed="hello from the e2e test"

work=$(mktemp -d)
server_pid= chat_pid=
cleanup() {
  [ -z "$chat_pid" ] || kill -9 "$chat_pid" 2>/dev/null || true
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$1" >&2
  echo "--- server log:" >&2; tail -30 "$work/server.log" >&2
  echo "--- chat output:" >&2; tail -20 "$work/chat.log" >&2
  exit 1
}
wait_for() {  # seconds, command...
  local tries=$(( $1 * 10 )); shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

cp "$chat" "$work/chat"
cp -r "$(dirname "$chat")/emote" "$work/emote" 2>/dev/null || true
printf '<html><body><script>location.href = "?room=2";</script></body></html>\n' >"$work/rooms.html"
"$platform_files" "$work" --room-page "file://$work/rooms.html" >/dev/null

"$server" --config "$config" --address "$address" 2>"$work/server.log" &
server_pid=$!
wait_for 5 bash -c "exec 3<>/dev/tcp/$address/7088" 2>/dev/null || fail "the server did not start"

mkdir -p "$work/config-home" "$work/data-home" "$work/runtime"
chmod 700 "$work/runtime"
XDG_CONFIG_HOME="$work/config-home" XDG_DATA_HOME="$work/data-home" XDG_RUNTIME_DIR="$work/runtime" \
  QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
  "$work/chat" /account:demo /pswd:FE01CE2A7FBAC8FAFAED7C982A04E229 "/server:$address" \
  >"$work/chat.log" 2>&1 &
chat_pid=$!

in_log() { grep -q "$1" "$work/server.log"; }
wait_for 30 in_log 'login "demo"' || fail "the demo account did not log in"
# The bot greets every newcomer; once the greeting is out the room page is up.
wait_for 15 in_log 'entered room 2' || fail "the client did not enter room 2"
sleep 1

window=$(xdotool search --sync --onlyvisible --pid "$chat_pid" | head -1)
[ -n "$window" ] || fail "no window of the chat program"
# The room page gives its input box the keyboard focus when it is shown.
xdotool windowfocus --sync "$window" || true
xdotool type --delay 20 "$typed"
# Whichever send key is set, one of the two sends and the other only adds a line break.
xdotool key Return
sleep 0.5
xdotool key ctrl+Return

wait_for 15 in_log "chat .*demo" || fail "the typed message did not reach the server"
sleep 2  # the bot's answer

kill -TERM "$chat_pid"
wait_for 15 bash -c "! kill -0 $chat_pid 2>/dev/null" || fail "the program did not end after SIGTERM"
chat_pid=
in_log 'leave .*room 2\|left room 2' || fail "closing the program sent no leave command"

records="$work/config-home/Palvern/chatrec00000002.dat"
[ -f "$records" ] || fail "no record file for room 2"
hex() { od -An -v -tx1 | tr -d ' \n'; }
kept=$(hex <"$records")
keeps() { [[ "$kept" == *"$1"* ]]; }
keeps "$(printf '%s' "$typed" | iconv -f UTF-8 -t UTF-16LE | hex)" ||
  fail "the record file lacks the typed message"
keeps "$(printf 'bot_xiaomo' | hex)" || fail "the record file lacks the bot's answer"
echo "typed message sent, bot answered, both kept in $(basename "$records")"
