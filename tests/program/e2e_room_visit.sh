#!/usr/bin/env bash
# End to end: the development server with the demo data on its own loopback address, and the built
# chat program on a virtual X screen, whose room selection page follows a "?room=2" link as soon as
# it loads. Passes when the server's log shows, for the demo account: the login, the entry into
# room 2 and the program asking for its chatters (so the room's tab is open); then, after the
# window has been closed the way a window manager closes it when the user clicks the close button
# (the WM_DELETE_WINDOW message), the leave command for room 2 and the disconnect; and the program
# has ended with exit code 0.
#   e2e_room_visit.sh <chat> <chat-server> <make-platform-files> <demo.json>
# Exits 77 (skipped) when Xvfb, xdotool or python3 is missing.
set -euo pipefail
source "$(dirname "$0")/e2e_program_env.sh"
chat=$1 server=$2 platform_files=$3 config=$4
address=127.0.0.23
room=2

require_tools Xvfb xdotool python3
begin_run

# Sends WM_DELETE_WINDOW to a window, as a window manager does for the close button.
close_window() {
  python3 - "$1" <<'EOF'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1])
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = window
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.xclient.data[1] = 0  # CurrentTime
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XFlush(display)
EOF
}

start_virtual_screen "$work" || fail "Xvfb did not start"
prepare_program "$work" "$chat" "$platform_files" \
  "<html><body><script>location.href = \"?room=$room\";</script></body></html>"

start_server "$server" "$config" "$address"
start_chat "$address"

wait_for_log '"demo" logged in as chatter'
wait_for_log "\"demo\" entered room $room"
wait_for_log "\"demo\" asked for the chatters of room $room"
echo "the demo account logged in and entered room $room"

window=$(xdotool search --onlyvisible --pid "$chat_pid" --name '在线客服' | head -1)
[ -n "$window" ] || fail "no main window of the program on the screen"
close_window "$window"

wait_for_log "\"demo\" left room $room"
wait_for_log '"demo" disconnected: by the client'
wait_for_end
status=0
wait "$chat_pid" || status=$?
chat_pid=
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
echo "closing the window left room $room, disconnected and ended the program"
