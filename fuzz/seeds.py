#!/usr/bin/env python3
"""Writes the hand-made seeds of both fuzz targets into fuzz/corpus/<target>/.

Each seed is named after what it holds (seed-...); the inputs that fuzz runs
add are named by their hash. Run it again after changing an input layout:
it rewrites the seeds and leaves the other files alone.
"""

import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def text(value):
    """One text: ASCII units as bytes, any other unit as 0x80 and two bytes."""
    out = bytearray()
    encoded = value.encode("utf-16-le", "surrogatepass")
    units = struct.unpack("<%dH" % (len(encoded) // 2), encoded)
    for unit in units:
        if 0 < unit < 0x80:
            out.append(unit)
        else:
            out += b"\x80" + struct.pack("<H", unit)
    return bytes(out)


def texts(values):
    return b"".join(text(v) + b"\x00" for v in values)


# ---- capture_main -----------------------------------------------------------
# Control bytes: flags, run, frames, tick, room, start (double), window (u64),
# owner (u32); then the arguments.
ARGUMENT_LIST_FAILS, WINDOW, WINDOW_IS_ARG, OWNER_IS_ARG, ICONIC, OPEN_FAILS, CLOSE_FAILS, ROOM = (
    1, 2, 4, 8, 16, 32, 64, 128)
GOOD_WINDOW = WINDOW | WINDOW_IS_ARG | OWNER_IS_ARG
WGC = {"Ok": 0, "WindowUnavailable": 1, "CaptureFailed": 2, "NoFrames": 3, "NoContent": 4, "WriteFailed": 5,
       "AccessDenied": 6}
GDI = {"Ok": 0, "WindowUnavailable": 1, "CaptureFailed": 2, "NoFrames": 3, "GdiCopyFailed": 4, "NoContent": 5,
       "WriteFailed": 6}


def capture(flags=GOOD_WINDOW, ro_fails=False, hides=False, wgc="Ok", gdi="Ok", wgc_frames=1, gdi_frames=0,
            wgc_seconds=0.5, tick=0.0, room=0, start=1000.0, window=0, owner=0, arguments=()):
    run = (1 if ro_fails else 0) | (2 if hides else 0) | WGC[wgc] << 2 | GDI[gdi] << 5
    frames = wgc_frames | gdi_frames << 2 | int(wgc_seconds * 2) << 4
    head = bytes([flags, run, frames, int(round(tick * 100)), room]) + struct.pack("<dQI", start, window, owner)
    return head + texts(arguments)


def short_form(window="655370", pid="4321", fps="30", end="1010"):
    return ["ORVELCapture.exe", window, pid, fps, end]


def long_form(width="1280", height="720", path="C:\\out\\times.bin", **kw):
    return short_form(**kw) + [width, height, path]


CAPTURE_SEEDS = {
    "valid-short-form": capture(arguments=short_form()),
    "valid-long-form-1280x720": capture(wgc_frames=3, arguments=long_form()),
    "valid-long-form-1920x1080-60fps": capture(wgc="NoContent", arguments=long_form("1920", "1080", fps="60")),
    "fallback-after-capture-failed": capture(wgc="CaptureFailed", wgc_frames=0, gdi_frames=2, arguments=long_form()),
    "fallback-after-no-frames": capture(wgc="NoFrames", wgc_frames=0, gdi="GdiCopyFailed", wgc_seconds=1.0,
                                        arguments=long_form()),
    "no-fallback-at-end-time": capture(wgc="CaptureFailed", wgc_frames=0, wgc_seconds=7.5,
                                       arguments=long_form(end="1007.5")),
    "no-fallback-in-short-form": capture(wgc="CaptureFailed", wgc_frames=0, arguments=short_form()),
    "runtime-fails-then-gdi": capture(ro_fails=True, gdi_frames=1, arguments=long_form()),
    "access-denied": capture(wgc="AccessDenied", wgc_frames=0, arguments=long_form()),
    "close-fails": capture(flags=GOOD_WINDOW | CLOSE_FAILS, wgc_frames=2, arguments=long_form()),
    "final-flush-fails-close-hides-it": capture(flags=GOOD_WINDOW | ROOM, hides=True, wgc_frames=3, room=8,
                                                arguments=long_form()),
    "final-flush-fails": capture(flags=GOOD_WINDOW | ROOM, wgc_frames=2, room=9, arguments=long_form()),
    "file-open-fails": capture(flags=GOOD_WINDOW | OPEN_FAILS, arguments=long_form()),
    "argument-list-fails": capture(flags=GOOD_WINDOW | ARGUMENT_LIST_FAILS, arguments=short_form()),
    "no-arguments": capture(),
    "program-only": capture(arguments=["ORVELCapture.exe"]),
    "three-values": capture(arguments=short_form()[:4]),
    "five-values": capture(arguments=long_form()[:6]),
    "six-values": capture(arguments=long_form()[:7]),
    "eight-values": capture(arguments=long_form() + ["x"]),
    "sixteen-entries": capture(arguments=long_form() * 2),
    "process-id-zero": capture(arguments=short_form(pid="0")),
    "foreign-owner": capture(flags=WINDOW | WINDOW_IS_ARG, owner=99, arguments=short_form()),
    "minimised": capture(flags=GOOD_WINDOW | ICONIC, arguments=short_form()),
    "not-a-window": capture(flags=OWNER_IS_ARG, arguments=short_form()),
    "other-window": capture(flags=WINDOW | OWNER_IS_ARG, window=655371, arguments=short_form()),
    "hexadecimal-handle": capture(flags=WINDOW | OWNER_IS_ARG, window=655370, arguments=short_form(window="0xA000A")),
    "fps-25": capture(arguments=short_form(fps="25")),
    "fps-25-without-window": capture(flags=0, arguments=short_form(fps="25")),
    "fps-with-text": capture(arguments=short_form(fps=" +60fps")),
    "fps-negative": capture(arguments=short_form(fps="-30")),
    "fps-wraps-past-32-bits": capture(arguments=short_form(fps="4294967326")),
    "end-equal-to-now": capture(arguments=short_form(end="1000")),
    "end-in-the-past": capture(arguments=short_form(end="999.999")),
    "end-64.9-ahead": capture(arguments=short_form(end="1064.9")),
    "end-65-ahead": capture(arguments=short_form(end="1065")),
    "end-within-65-of-second-reading": capture(tick=0.2, arguments=short_form(end="1065.1")),
    "end-nan": capture(arguments=short_form(end="nan")),
    "end-infinite": capture(arguments=short_form(end="inf")),
    "end-not-a-number": capture(arguments=short_form(end="soon")),
    "end-hexadecimal-float": capture(arguments=short_form(end="0x1.f9p9")),
    "end-overflows": capture(arguments=short_form(end="1e309")),
    "size-1920x720": capture(arguments=long_form("1920", "720")),
    "size-1280x1080": capture(arguments=long_form("1280", "1080")),
    "size-0x0": capture(arguments=long_form("0", "0")),
    "size-with-text": capture(arguments=long_form("1280px", " 720")),
    "non-ascii-texts": capture(arguments=["\u00d3RVEL\u00e7", "655370\u0660", "\ufeff4321", "30\ud83d\ude00",
                                          "1010\u00a0", "1280", "720", "C:\\sa\u00edda\\tempos.bin"]),
    "full-width-digits": capture(flags=WINDOW | OWNER_IS_ARG, window=655, arguments=short_form(window="\uff16\uff15\uff15")),
    "long-window-text": capture(arguments=short_form(window="6" * 3000)),
    "long-path": capture(arguments=long_form(path="C:\\" + "d\\" * 2000 + "times.bin")),
    "empty-texts": capture(arguments=["", "", "", "", ""]),
}

# ---- choose -----------------------------------------------------------------
# Control bytes: shape, string_size (int32), flags, result choice, raw result
# (int64); then one text per entry, top first; then the script.
NO_STACK, EMPTY_STACK = "none", "empty"
EXACT_PREFERENCE, SCRIPTED, NO_OWNER = 1, 2, 4
RESULT = {2070: 0, 1033: 1, 2: 2, -1: 3, 0: 4}
WM_COMMAND, WM_CLOSE, ENTER, OTHER = 0, 1, 2, 3


def choose(entries=1, string_size=1024, flags=0, result=None, raw=0, entry_texts=(), script=()):
    shape = {NO_STACK: 0, EMPTY_STACK: 1}.get(entries, entries + 1 if isinstance(entries, int) else 0)
    choice = RESULT[result] if result in RESULT else 5
    head = bytes([shape]) + struct.pack("<iBBq", string_size, flags, choice, raw)
    body = b"".join(text(t) + b"\x00" for t in entry_texts)
    body += b"".join(bytes([kind]) + struct.pack("<H", value) for kind, value in script)
    return head + body


CHOOSE_SEEDS = {
    "no-stack": choose(entries=NO_STACK),
    "empty-stack": choose(entries=EMPTY_STACK),
    "string-size-zero": choose(string_size=0, result=2070, entry_texts=["preferred-2070"]),
    "string-size-minus-one": choose(string_size=-1, result=2070, entry_texts=["preferred-2070"]),
    "string-size-int-min": choose(string_size=-2**31, result=1033, entry_texts=["x"]),
    "portuguese": choose(flags=EXACT_PREFERENCE, result=2070),
    "english": choose(result=1033, entry_texts=["Preferred-2070"]),
    "cancel": choose(result=2, entry_texts=["preferred-2070 "]),
    "error-minus-one": choose(result=-1, entry_texts=["preferred-1033"]),
    "error-zero": choose(result=0, entry_texts=[""], flags=NO_OWNER),
    "error-high-bits": choose(raw=0x100000000 + 2070, entry_texts=["preferred-2070"]),
    "size-1-cancel": choose(string_size=1, result=2),
    "size-4-portuguese": choose(string_size=4, result=2070, entry_texts=["abc"]),
    "size-5-cancel": choose(string_size=5, result=2, entry_texts=["abcd"]),
    "size-6-error": choose(string_size=6, result=-1, entry_texts=["ab"]),
    "size-7-cancel": choose(string_size=7, result=2, entry_texts=["abcdef"]),
    "size-14-cuts-the-preference": choose(string_size=14, flags=EXACT_PREFERENCE, result=1033),
    "size-15-holds-the-preference": choose(string_size=15, flags=EXACT_PREFERENCE, result=2070),
    "four-entries": choose(entries=4, string_size=64, result=2070,
                           entry_texts=["preferred-2070", "below", "\u00e7\u00e3o", "bottom"]),
    "non-ascii-preference": choose(result=1033, entry_texts=["preferred-\uff12\uff10\uff17\uff10"]),
    "long-entry-4096": choose(string_size=4096, result=2, entry_texts=["p" * 4095, "q" * 100], entries=2),
    "scripted-enter-portuguese": choose(flags=EXACT_PREFERENCE | SCRIPTED, script=[(ENTER, 0)]),
    "scripted-enter-english": choose(flags=SCRIPTED, entry_texts=["x"], script=[(ENTER, 0)]),
    "scripted-mnemonic-e": choose(flags=EXACT_PREFERENCE | SCRIPTED, script=[(WM_COMMAND, 1033)]),
    "scripted-mnemonic-p-with-notification": choose(flags=SCRIPTED, entry_texts=["x"],
                                                    script=[(WM_COMMAND | 4 * 5, 2070)]),
    "scripted-esc": choose(flags=SCRIPTED, entry_texts=["preferred-2070"], script=[(WM_COMMAND, 2)]),
    "scripted-close-box": choose(flags=SCRIPTED, script=[(WM_CLOSE, 0)]),
    "scripted-idok-and-others-first": choose(flags=SCRIPTED, entry_texts=["x"],
                                             script=[(WM_COMMAND, 1), (WM_COMMAND, 0), (WM_COMMAND, 110),
                                                     (OTHER, 0x000F), (OTHER, 0x0110), (ENTER, 0)]),
    "scripted-nothing-ends-it": choose(flags=SCRIPTED, entry_texts=["x"], script=[(OTHER, 0x0100)]),
    "scripted-size-4-cancel": choose(string_size=4, flags=SCRIPTED, entry_texts=["ab"], script=[(WM_CLOSE, 0)]),
}


def write(target, seeds):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (folder / ("seed-" + name)).write_bytes(data)
    print(f"{target}: {len(seeds)} seeds in {folder}")


if __name__ == "__main__":
    write("capture_main", CAPTURE_SEEDS)
    write("choose", CHOOSE_SEEDS)
