#!/usr/bin/env python3
"""Start-up time and idle memory of kalvo beside a minimal Qt Widgets program, interleaved.

    startup_bench.py --build BUILD_DIR [--runs 10] [--warmup 1] [--rig RIG_DIR]

Each run starts the program under kalvo_map_watch, which forks it and times the fork to the
MapNotify of its window (X events, one monotonic clock), then reads VmRSS and Pss once the program
is idle. Runs alternate kalvo, minimal, kalvo, minimal, ...; the warm-up runs are not counted.
Needs an X display: the rig's (--rig or KALVO_RIG_DIR, see tests/e2e/README.md) or DISPLAY.
Exits 77 when there is none. Never fails on the figures: the targets are printed, not checked.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

SKIP = 77
TARGET_TIME_RATIO = 1.3  # start-up kalvo / minimal, at most
TARGET_RSS_MIB = 6.0  # idle RSS kalvo - minimal, at most

PROGRAMS = [
    ("kalvo", "kalvo", "Tarvo Mehrwertsteuer"),
    ("minimal", "kalvo_startup_minimal", "Minimal Widgets"),
]


def display_env(rig_dir):
    """The environment for the display: the rig's exports when there is a rig, else ours."""
    env = dict(os.environ)
    rig_dir = rig_dir or os.environ.get("KALVO_RIG_DIR")
    if rig_dir:
        path = Path(rig_dir) / "env.json"
        try:
            data = json.loads(path.read_text(encoding="utf-8"))
        except FileNotFoundError:
            print(f"startup_bench: no rig in {rig_dir} ({path} is missing)", file=sys.stderr)
            sys.exit(SKIP)
        for name in data.get("unset", []):
            env.pop(name, None)
        env.update(data["export"])
    if not env.get("DISPLAY"):
        print("startup_bench: no X display (start the rig or set DISPLAY)", file=sys.stderr)
        sys.exit(SKIP)
    # A German user, as the program is meant for; no LC_* or LANGUAGE to override LANG.
    for name in [n for n in env if n.startswith("LC_") or n == "LANGUAGE"]:
        del env[name]
    env["LANG"] = "de_DE.UTF-8"
    env.setdefault("QT_QPA_PLATFORM", "xcb")
    return env


def measure(watcher, exe, title, env, settle_ms):
    """One start of exe: a dict of the watcher's figures."""
    with tempfile.TemporaryDirectory(prefix="kalvo-bench-config-") as config:
        run_env = dict(env, XDG_CONFIG_HOME=config)
        cmd = [str(watcher), "--title", title, "--settle-ms", str(settle_ms), "--", str(exe)]
        result = subprocess.run(cmd, env=run_env, capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        command = " ".join(cmd)
        raise RuntimeError(f"{command} failed ({result.returncode}): {result.stderr.strip()}")
    line = result.stdout.strip().splitlines()[-1]
    values = dict(pair.split("=", 1) for pair in line.split())
    return {
        "map_ms": float(values["map_ms"]),
        "cpu_ms": float(values["cpu_ms"]),
        "rss_mib": int(values["rss_kib"]) / 1024,
        "anon_mib": int(values["rss_anon_kib"]) / 1024,
        "file_mib": int(values["rss_file_kib"]) / 1024,
        "pss_mib": int(values["pss_kib"]) / 1024,
    }


def summary(values):
    return statistics.median(values), min(values), max(values)


def verdict(ok):
    return "met" if ok else "MISSED"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, type=Path, help="the CMake build folder")
    parser.add_argument("--runs", type=int, default=10, help="counted runs of each program")
    parser.add_argument("--warmup", type=int, default=1, help="uncounted runs of each first")
    parser.add_argument("--settle-ms", type=int, default=1000, help="idle time after the map")
    parser.add_argument("--rig", help="the rig folder (default: KALVO_RIG_DIR)")
    args = parser.parse_args()

    binaries = args.build / "bin"
    watcher = binaries / "kalvo_map_watch"
    exes = {key: binaries / name for key, name, _ in PROGRAMS}
    for path in [watcher, *exes.values()]:
        if not path.is_file():
            sys.exit(f"startup_bench: {path} is missing: build {args.build} first")
    env = display_env(args.rig)

    results = {key: [] for key, _, _ in PROGRAMS}
    print(f"display {env['DISPLAY']}, {args.warmup} warm-up + {args.runs} runs each, interleaved")
    print(
        f"{'run':>4} {'program':<8} {'map ms':>8} {'CPU ms':>7} {'RSS MiB':>8} {'anon':>7}"
        f" {'file':>7} {'PSS':>7}"
    )
    for run in range(args.warmup + args.runs):
        counted = run >= args.warmup
        for key, _, title in PROGRAMS:
            r = measure(watcher, exes[key], title, env, args.settle_ms)
            if counted:
                results[key].append(r)
            label = str(run - args.warmup + 1) if counted else "w"
            print(
                f"{label:>4} {key:<8} {r['map_ms']:8.1f} {r['cpu_ms']:7.1f} {r['rss_mib']:8.2f}"
                f" {r['anon_mib']:7.2f} {r['file_mib']:7.2f} {r['pss_mib']:7.2f}",
                flush=True,
            )

    if args.runs == 0:
        return 0
    print()
    print(
        f"{'':<8} {'start-up to map, ms':>28} {'CPU to map':>11} {'idle RSS, MiB':>28}"
        f" {'idle PSS':>9}"
    )
    print(
        f"{'program':<8} {'median':>9} {'range':>18} {'median ms':>11} {'median':>9} {'range':>18}"
        f" {'median':>9}"
    )
    med = {}
    for key, _, _ in PROGRAMS:
        t = summary([r["map_ms"] for r in results[key]])
        c = summary([r["cpu_ms"] for r in results[key]])
        m = summary([r["rss_mib"] for r in results[key]])
        p = summary([r["pss_mib"] for r in results[key]])
        med[key] = (t[0], m[0], p[0])
        print(
            f"{key:<8} {t[0]:9.1f} {t[1]:8.1f} - {t[2]:7.1f} {c[0]:11.1f} {m[0]:9.2f}"
            f" {m[1]:8.2f} - {m[2]:7.2f} {p[0]:9.2f}"
        )
    ratio = med["kalvo"][0] / med["minimal"][0]
    diff = med["kalvo"][1] - med["minimal"][1]
    print()
    print(
        f"start-up kalvo/minimal = {ratio:.2f}x (target: at most {TARGET_TIME_RATIO}x): "
        f"{verdict(ratio <= TARGET_TIME_RATIO)}"
    )
    print(
        f"idle RSS kalvo-minimal = {diff:+.2f} MiB (target: at most {TARGET_RSS_MIB:g} MiB): "
        f"{verdict(diff <= TARGET_RSS_MIB)}"
    )
    print(f"idle PSS kalvo-minimal = {med['kalvo'][2] - med['minimal'][2]:+.2f} MiB")
    # Each kalvo run beside the minimal run right after it: the pair saw the same machine load.
    paired = list(zip(results["kalvo"], results["minimal"]))
    for what, field in (("start-up", "map_ms"), ("CPU to map", "cpu_ms")):
        r = summary([k[field] / m[field] for k, m in paired])
        print(f"{what} kalvo/minimal run by run: median {r[0]:.2f}x, range {r[1]:.2f}-{r[2]:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
