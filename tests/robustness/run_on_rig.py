"""Runs a program with the rig's display and print server: run_on_rig.py <program> [args...].
Exits 77 (skipped) when the rig is not there."""

import os
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import kalvo_e2e  # noqa: E402

try:
    rig = kalvo_e2e.load_rig()
except kalvo_e2e.RigMissing as e:
    print(f"SKIPPED: {e}", file=sys.stderr)
    sys.exit(77)
sys.exit(subprocess.run(sys.argv[1:], env=rig.environ()).returncode)
