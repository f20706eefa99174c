#!/usr/bin/env bash
# Start-up time of the chat program: from the start of the process to its main window appearing
# on the screen (the X server maps it), on a virtual screen of its own (Xvfb). The room selection
# page is a local empty page, so nothing waits for the network. The first run is reported apart
# (cold caches), then the median and the spread of the others.
#   bench/startup_time.sh <chat> <make-platform-files> [runs, default 6]
# Needs Xvfb and python3 (with the system's libX11).
set -euo pipefail
source "$(dirname "$0")/../tests/program/e2e_program_env.sh"
chat=$1 platform_files=$2 runs=${3:-6}

begin_run

start_virtual_screen "$work" || { echo "Xvfb did not start" >&2; exit 1; }
prepare_program "$work" "$chat" "$platform_files" '<html><body></body></html>'
python3 - "$work/chat" "$runs" <<'EOF'
# Watches the root window for maps (SubstructureNotify) from before the program starts, so the
# time is taken when the X server reports the map, not by polling.
import ctypes, select, statistics, subprocess, sys, time

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
    ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]

class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]

class Event(ctypes.Union):
    _fields_ = [("xmap", MapEvent), ("pad", ctypes.c_long * 24)]

MAP_NOTIFY, SUBSTRUCTURE_NOTIFY_MASK, ANY_PROPERTY_TYPE = 19, 1 << 19, 0
display = x11.XOpenDisplay(None)
NET_WM_NAME = x11.XInternAtom(display, b"_NET_WM_NAME", 0)

def window_name(window):
    kind, size, items, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
    data = ctypes.c_void_p()
    if x11.XGetWindowProperty(display, window, NET_WM_NAME, 0, 256, 0, ANY_PROPERTY_TYPE,
                              ctypes.byref(kind), ctypes.byref(size), ctypes.byref(items),
                              ctypes.byref(after), ctypes.byref(data)) != 0 or not data:
        return ""
    name = ctypes.string_at(data, items.value).decode("utf-8", "replace")
    x11.XFree(data)
    return name

x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
x11.XSync(display, 0)

program, runs = sys.argv[1], int(sys.argv[2])
times = []
for run in range(runs):
    start = time.monotonic()
    process = subprocess.Popen([program, "/account:demo", "/pswd:FE01CE2A7FBAC8FAFAED7C982A04E229",
                                "/server:127.0.0.1"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown = None
    deadline = start + 60
    while shown is None and time.monotonic() < deadline:
        if not x11.XPending(display):
            select.select([x11.XConnectionNumber(display)], [], [], 0.5)
            continue
        event = Event()
        x11.XNextEvent(display, ctypes.byref(event))
        # The main window's caption ends in "在线客服".
        if event.xmap.type == MAP_NOTIFY and not event.xmap.override_redirect:
            at = time.monotonic() - start
            if window_name(event.xmap.window).endswith("在线客服"):
                shown = at
    process.terminate()
    process.wait()
    while x11.XPending(display):  # the unmaps of this run
        x11.XNextEvent(display, ctypes.byref(Event()))
    if shown is None:
        sys.exit("run %d: no window within 60 s" % (run + 1))
    times.append(shown * 1000)
    print("run %d: main window shown after %.0f ms" % (run + 1, times[-1]))

warm = times[1:]
print("first run %.0f ms" % times[0])
if warm:
    print("other %d runs: median %.0f ms, min %.0f ms, max %.0f ms"
          % (len(warm), statistics.median(warm), min(warm), max(warm)))
EOF
