#!/usr/bin/env python3
"""Plays the product's parent process for the demo: starts ORVELCapture.exe
under Wine in the eight-argument form, reads the bare frame stream while it
runs, then turns the frames and the timestamp file into a video, a contact
sheet and a still picture.

The end time is on the performance-counter clock. Under Wine that counter is
Linux's CLOCK_MONOTONIC_RAW, so this script can compute it directly.
"""

import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time

EXIT_CODES = {
    0: ("Ok", "the end time was reached and frames with visible content were written"),
    2: ("BadArguments", "the command line was refused"),
    3: ("WindowUnavailable", "the window is gone, minimised, empty or owned by another process"),
    4: ("FileOpenFailed", "the timestamp file could not be created"),
    5: ("CaptureFailed", "capture could not start"),
    6: ("NoFrames", "no frame was written"),
    7: ("GdiCopyFailed", "the GDI copy of the window failed"),
    8: ("NoContent", "frames were written, but none showed visible content"),
    9: ("WriteFailed", "writing a frame or its time failed"),
    10: ("AccessDenied", "capture was refused (E_ACCESSDENIED)"),
}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def nearest_rank(ordered, fraction):
    """The nearest-rank percentile of an ascending list."""
    rank = max(1, math.ceil(fraction * len(ordered)))
    return ordered[rank - 1]


def spacing_figures(times, fps):
    """Frame-time spacing in milliseconds: median, p99 and max, against the
    requested interval."""
    gaps = sorted((b - a) * 1000.0 for a, b in zip(times, times[1:]))
    if not gaps:
        return "spacing: fewer than two frames"
    return (f"spacing median {nearest_rank(gaps, 0.5):.1f} ms, p99 {nearest_rank(gaps, 0.99):.1f} ms, "
            f"max {gaps[-1]:.1f} ms (requested {1000.0 / fps:.1f} ms)")


def plot_spacing(times, fps, path):
    """out/frame-spacing.png: each frame's distance from the one before,
    against the requested interval."""
    with tempfile.NamedTemporaryFile("w", suffix=".dat", delete=False) as data:
        for index, (a, b) in enumerate(zip(times, times[1:]), start=1):
            data.write(f"{index} {(b - a) * 1000.0:.4f}\n")
    interval = 1000.0 / fps
    script = f"""
set terminal pngcairo size 900,420 font "DejaVu Sans,10"
set output "{path}"
set title "Frame-time spacing ({len(times)} frames at {fps} fps requested)"
set xlabel "frame index"
set ylabel "time since the previous frame (ms)"
set yrange [0:*]
set grid
set key top right
plot "{data.name}" using 1:2 with linespoints pt 7 ps 0.5 lc rgb "#1f77b4" title "frame spacing", \
     {interval} with lines lw 2 lc rgb "#d62728" title "requested interval ({interval:.1f} ms)"
"""
    try:
        subprocess.run(["gnuplot"], input=script, text=True, check=True)
    finally:
        os.remove(data.name)


def contact_sheet(raw_path, frame_bytes, width, height, times, start, path):
    """Twelve frames spread over the run, each labelled with its index and
    its time after the start."""
    frames = len(times)
    picks = sorted({round(i * (frames - 1) / 11) for i in range(12)}) if frames > 1 else [0]
    folder = tempfile.mkdtemp(prefix="orvel-sheet-")
    try:
        tiles = []
        with open(raw_path, "rb") as raw:
            for index in picks:
                raw.seek(index * frame_bytes)
                label = f"#{index}  t = {times[index] - start:.3f} s"
                tile = os.path.join(folder, f"{index:06d}.png")
                subprocess.run(
                    ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr0", "-s", f"{width}x{height}",
                     "-i", "-", "-frames:v", "1", "-vf",
                     "scale=320:-1,drawtext=fontfile=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf:"
                     f"text='{label}':x=6:y=6:fontsize=16:fontcolor=white:box=1:boxcolor=black@0.6:boxborderw=4",
                     "-pix_fmt", "rgb24", tile], input=raw.read(frame_bytes), check=True)
                tiles.append(tile)
        subprocess.run(["montage", *tiles, "-tile", "4x", "-geometry", "+4+4", "-background", "#404040", path],
                       check=True)
    finally:
        shutil.rmtree(folder)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--capture", required=True, help="path of ORVELCapture.exe")
    parser.add_argument("--window", required=True)
    parser.add_argument("--pid", required=True)
    parser.add_argument("--fps", type=int, default=30)
    parser.add_argument("--seconds", type=float, default=4.0)
    parser.add_argument("--size", default="1280x720")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    width, height = (int(v) for v in args.size.split("x"))
    frame_bytes = width * height * 4
    os.makedirs(args.out, exist_ok=True)
    raw_path = os.path.join(args.out, "stream.bgra")
    times_path = os.path.join(args.out, "times.bin")

    start = time.clock_gettime(time.CLOCK_MONOTONIC_RAW)
    end_time = start + args.seconds
    command = [args.wine_run, args.capture, args.window, args.pid, str(args.fps), repr(end_time),
               str(width), str(height), windows_path(times_path)]
    print("demo: " + " ".join(command[1:]))
    helper = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    errors = []
    reader = threading.Thread(target=lambda: errors.append(helper.stderr.read()))
    reader.start()
    received = 0
    with open(raw_path, "wb") as raw:
        while True:
            chunk = helper.stdout.read(1 << 20)
            if not chunk:
                break
            raw.write(chunk)
            received += len(chunk)
    # The helper under Wine is this child process itself: its resource usage
    # is the helper's CPU time and peak resident set (the platform's own
    # per-process figures are not usable under Wine).
    _, status, usage = os.wait4(helper.pid, 0)
    helper.returncode = code = os.waitstatus_to_exitcode(status)
    reader.join()

    name, meaning = EXIT_CODES.get(code, ("?", "not an exit code of the helper"))
    for line in errors[0].decode("utf-8", "replace").splitlines():
        print("demo: helper stderr: " + line)
    print(f"demo: exit code {code} ({name}): {meaning}")

    frames = received // frame_bytes
    with open(times_path, "rb") as f:
        data = f.read()
    times = list(struct.unpack("<%dd" % (len(data) // 8), data))
    print(f"demo: {frames} frames of {width}x{height} ({received} bytes), {len(times)} times")
    if received % frame_bytes or len(times) != frames or frames == 0:
        print("demo: the stream and the timestamp file do not agree", file=sys.stderr)
        return 1
    span = times[-1] - times[0]
    rate = (frames - 1) / span if span > 0 else 0.0
    # Slots: the requested intervals between the launch and the end time, as
    # a real number, the way the checks count them.
    slots = (end_time - start) * args.fps
    cpu = usage.ru_utime + usage.ru_stime
    print(f"demo: first frame {times[0] - start:.3f} s after the start, achieved {rate:.2f} fps "
          f"over {span:.3f} s (requested {args.fps})")
    print(f"demo: {frames} frames for {slots:.1f} requested slots ({frames / slots:.2f} per slot); "
          + spacing_figures(times, args.fps))
    print(f"demo: helper CPU {cpu:.3f} s ({cpu * 1000.0 / frames:.2f} ms per frame), "
          f"peak resident set {usage.ru_maxrss / 1024.0:.1f} MiB")

    # A constant-rate video from the variable frame times: each output slot
    # shows the latest frame taken at or before it.
    video = os.path.join(args.out, "capture.mp4")
    encoder = subprocess.Popen(
        ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr0", "-s", f"{width}x{height}",
         "-framerate", str(args.fps), "-i", "-", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-crf", "20", video],
        stdin=subprocess.PIPE)
    with open(raw_path, "rb") as raw:
        index, slot = 0, 0
        while times[0] + slot / args.fps <= times[-1]:
            slot_time = times[0] + slot / args.fps
            while index + 1 < frames and times[index + 1] <= slot_time:
                index += 1
            raw.seek(index * frame_bytes)
            encoder.stdin.write(raw.read(frame_bytes))
            slot += 1
    encoder.stdin.close()
    if encoder.wait() != 0:
        return 1

    sheet = os.path.join(args.out, "contact-sheet.png")
    contact_sheet(raw_path, frame_bytes, width, height, times, start, sheet)
    spacing = os.path.join(args.out, "frame-spacing.png")
    plot_spacing(times, args.fps, spacing)
    still = os.path.join(args.out, "frame.png")
    with open(raw_path, "rb") as raw:
        raw.seek((frames // 2) * frame_bytes)
        middle = raw.read(frame_bytes)
    # GDI leaves alpha at 0: read the pixels as opaque (bgr0) for the picture.
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "bgr0", "-s", f"{width}x{height}",
                    "-i", "-", "-frames:v", "1", "-update", "1", "-pix_fmt", "rgb24", still], input=middle, check=True)
    os.remove(raw_path)
    print(f"demo: wrote {video}, {sheet}, {spacing}, {still} and {times_path}")
    return 0 if code == 0 else code


if __name__ == "__main__":
    sys.exit(main())
