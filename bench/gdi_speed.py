#!/usr/bin/env python3
"""Measures the GDI fallback under Wine against the 800x600 test pattern and
reports (never asserts): frames delivered against the requested slots and
against what a bare StretchBlt + write loop of the same size reaches, the
spacing of the frame times, the helper's CPU time per frame, how soon the
first frame comes, and the same capture done by ffmpeg's X11 grabber scaled
and padded to the same size and rate.

Run it through scripts/bench (private Xvfb display, project Wine prefix).
The end time is on the performance-counter clock, which under Wine is
CLOCK_MONOTONIC_RAW.
"""

import argparse
import os
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def drain(stream, counter):
    while True:
        chunk = stream.read(1 << 20)
        if not chunk:
            return
        counter[0] += len(chunk)


def machine_busy_seconds():
    """CPU seconds the whole machine has spent busy so far (all cores)."""
    with open("/proc/stat") as f:
        fields = [int(v) for v in f.readline().split()[1:]]
    user, nice, system, idle, iowait, irq, softirq, steal = fields[:8]
    return (user + nice + system + irq + softirq + steal) / os.sysconf("SC_CLK_TCK")


def run_measured(command):
    """Runs a command with standard output drained; returns (exit code,
    bytes read, CPU seconds of the process itself, stderr text, CPU seconds
    of the whole machine meanwhile: the process, the Wine server, the X
    server and this reader)."""
    busy = machine_busy_seconds()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    counted = [0]
    errors = []
    out = threading.Thread(target=drain, args=(process.stdout, counted))
    err = threading.Thread(target=lambda: errors.append(process.stderr.read()))
    out.start()
    err.start()
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    out.join()
    err.join()
    return (process.returncode, counted[0], usage.ru_utime + usage.ru_stime, errors[0].decode("utf-8", "replace"),
            machine_busy_seconds() - busy)


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Pattern:
    def __init__(self, wine_run, exe):
        self.process = subprocess.Popen([wine_run, exe, "--report-origin"], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.window, self.pid = self.process.stdout.readline().split()
        _, x, y = self.process.stdout.readline().split()
        self.origin = (int(x), int(y))
        time.sleep(0.5)

    def close(self):
        try:
            self.process.stdin.write("close\n")
            self.process.stdin.flush()
            self.process.wait(timeout=10)
        except Exception:
            self.process.kill()


def helper_run(args, pattern, width, height, fps, seconds):
    frame_bytes = width * height * 4
    with tempfile.TemporaryDirectory() as folder:
        times_path = os.path.join(folder, "times.bin")
        start = now()
        end = start + seconds
        code, received, cpu, errors, machine = run_measured(
            [args.wine_run, args.capture, pattern.window, pattern.pid, str(fps), repr(end), str(width), str(height),
             windows_path(times_path)])
        with open(times_path, "rb") as f:
            data = f.read()
    times = struct.unpack("<%dd" % (len(data) // 8), data)
    records = received // frame_bytes
    gaps = [b - a for a, b in zip(times, times[1:])]
    first = times[0] - start if times else float("nan")
    slots_after_first = int((end - times[0]) * fps) + 1 if times else 0
    return {
        "code": code, "records": records, "times": len(times), "partial": received % frame_bytes, "cpu": cpu,
        "machine": machine,
        "first": first, "gaps": gaps, "slots": int(seconds * fps), "slots_after_first": slots_after_first,
        "span": times[-1] - times[0] if len(times) > 1 else 0.0, "errors": errors.strip(),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", required=True)
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--matrix", action="store_true",
                        help="also run 1280x720 and 1920x1080 at 30 and 60 fps for rate and spacing")
    args = parser.parse_args()
    bin_dir = os.path.join(args.root, "build", "windows", "bin")
    args.wine_run = os.path.join(args.root, "scripts", "wine-run")
    args.capture = os.path.join(bin_dir, "ORVELCapture.exe")
    width, height, fps = 1920, 1080, 60
    frame_bytes = width * height * 4

    pattern = Pattern(args.wine_run, os.path.join(bin_dir, "orvel_test_pattern.exe"))
    try:
        print(f"test pattern: window {pattern.window}, process {pattern.pid}, client at {pattern.origin}, 800x600")

        # The ceiling: the same copy and write with no pacing.
        code, received, loop_cpu, loop_errors, loop_machine = run_measured(
            [args.wine_run, os.path.join(bin_dir, "gdi_loop_bench.exe"), pattern.window, "5", str(width),
             str(height)])
        loop_frames = received // frame_bytes
        loop_rate = float(loop_errors.split(":")[-1].split()[0]) if code == 0 else 0.0
        print(f"bare StretchBlt + write loop {width}x{height}: {loop_rate:.1f} fps, "
              f"{1000 * loop_cpu / max(1, loop_frames):.2f} ms CPU per frame in its process, "
              f"{1000 * loop_machine / max(1, loop_frames):.2f} ms on the whole machine (exit {code})")

        run = helper_run(args, pattern, width, height, fps, args.seconds)
        gaps_ms = [1000 * g for g in run["gaps"]]
        ceiling = min(run["slots_after_first"], loop_rate * (run["span"] + 1.0 / fps))
        print(f"ORVELCapture {width}x{height} at {fps} fps for {args.seconds:g} s: exit {run['code']}, "
              f"{run['records']} records ({run['times']} times, {run['partial']} stray bytes)")
        print(f"  stderr: {run['errors']!r}")
        print(f"  first frame {1000 * run['first']:.0f} ms after the process start")
        print(f"  delivered {run['records']} of {run['slots_after_first']} slots after the first frame "
              f"({run['slots']} in the whole run); ceiling min(slots, bare loop) = {ceiling:.0f}: "
              f"{100 * run['records'] / ceiling:.1f}%")
        if gaps_ms:
            print(f"  spacing ms: min {min(gaps_ms):.2f}, median {statistics.median(gaps_ms):.2f}, "
                  f"p99 {percentile(gaps_ms, 0.99):.2f}, max {max(gaps_ms):.2f} (interval {1000 / fps:.2f})")
        print(f"  helper CPU {run['cpu']:.2f} s: {1000 * run['cpu'] / max(1, run['records']):.2f} ms per frame "
              f"in its own process; {1000 * run['machine'] / max(1, run['records']):.2f} ms per frame on the whole "
              f"machine (with the Wine server, the X server and the reader)")

        # The tool a user would reach for: ffmpeg's X11 grabber of the same client
        # area, scaled and padded to the same size and rate.
        x, y = pattern.origin
        fitted = 1080 * 800 // 600
        code, received, ffmpeg_cpu, _, ffmpeg_machine = run_measured(
            ["ffmpeg", "-v", "error", "-f", "x11grab", "-framerate", str(fps), "-video_size", "800x600", "-i",
             f"{os.environ['DISPLAY']}+{x},{y}", "-t", f"{args.seconds:g}", "-vf",
             f"scale={fitted}:{height}:flags=neighbor,pad={width}:{height}:{(width - fitted) // 2}:0",
             "-pix_fmt", "bgra", "-f", "rawvideo", "pipe:1"])
        ffmpeg_frames = received // frame_bytes
        print(f"ffmpeg x11grab + scale + pad to {width}x{height} at {fps} fps: {ffmpeg_frames} frames, "
              f"{1000 * ffmpeg_cpu / max(1, ffmpeg_frames):.2f} ms CPU per frame in its process, "
              f"{1000 * ffmpeg_machine / max(1, ffmpeg_frames):.2f} ms on the whole machine (exit {code})")

        if args.matrix:
            print("rate and spacing, 10 s runs:")
            for w, h in ((1280, 720), (1920, 1080)):
                for rate in (30, 60):
                    r = helper_run(args, pattern, w, h, rate, args.seconds)
                    g = [1000 * v for v in r["gaps"]]
                    achieved = (r["times"] - 1) / r["span"] if r["span"] > 0 else 0.0
                    print(f"  {w}x{h} at {rate}: exit {r['code']}, {r['records']} frames, achieved {achieved:.2f} fps,"
                          f" spacing median {statistics.median(g):.2f} ms, p99 {percentile(g, 0.99):.2f} ms,"
                          f" max {max(g):.2f} ms, CPU {1000 * r['cpu'] / max(1, r['records']):.2f} ms/frame"
                          f" (machine {1000 * r['machine'] / max(1, r['records']):.2f})")
    finally:
        pattern.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
