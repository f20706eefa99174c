#!/usr/bin/env bash
# End to end: the development server with the demo data on its own loopback address, and the built
# chat program (offscreen) whose room selection page picks room 2 as soon as it loads. Passes when
# the server has logged the demo account in.
#   e2e_login.sh <chat> <chat-server> <make-platform-files> <demo.json>
set -euo pipefail
chat=$1 server=$2 platform_files=$3 config=$4
address=127.0.0.23

work=$(mktemp -d)
server_pid= chat_pid=
cleanup() {
  [ -z "$chat_pid" ] || kill "$chat_pid" 2>/dev/null || true
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The platform files sit beside the program file, so the program runs from a copy in the work folder.
cp "$chat" "$work/chat"
printf '<html><body><script>location.href = "?room=2";</script></body></html>\n' >"$work/rooms.html"
"$platform_files" "$work" --room-page "file://$work/rooms.html" >/dev/null

"$server" --config "$config" --address "$address" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/$address/7088") 2>/dev/null && break
  sleep 0.1
done

mkdir -p "$work/config-home" "$work/data-home" "$work/runtime"
chmod 700 "$work/runtime"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config-home" XDG_DATA_HOME="$work/data-home" \
  XDG_RUNTIME_DIR="$work/runtime" QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
  "$work/chat" /account:demo /pswd:FE01CE2A7FBAC8FAFAED7C982A04E229 "/server:$address" \
  >"$work/chat.log" 2>&1 &
chat_pid=$!

for _ in $(seq 300); do
  if grep -q 'login "demo"' "$work/server.log"; then
    echo "the server logged the demo account in"
    exit 0
  fi
  kill -0 "$chat_pid" 2>/dev/null || break
  sleep 0.1
done
echo "no login of the demo account; server log:" >&2
cat "$work/server.log" >&2
echo "chat output:" >&2
tail -20 "$work/chat.log" >&2
exit 1
