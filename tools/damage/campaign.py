#!/usr/bin/python3
"""Damaged-data campaign for pelmark-data.

Builds one demo data set with the data tool, then makes damaged copies of it
(bits flipped, files cut short, header fields set to extremes, in tables, memo
files, index files and tag groups) and runs check, dump and reindex on each.
A run counts as a crash when the tool ends by a signal, with an exit status
other than 0, 1 or 2, or with a sanitizer report on its error output; as a
hang when it takes longer than the time limit. Meant for a tool built with
AddressSanitizer and UndefinedBehaviorSanitizer (see build-sanitized.sh).

    tools/damage/campaign.py --tool build-san/tools/pelmark-data/pelmark-data \
        --inputs 1000 --seed 1
"""

import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

TABLES = ["PLM1", "CUST5", "GROUPS", "INV5", "ITM5", "LABELS", "GSTPMT", "Prod5", "Pur5"]
SANITIZER_MARKS = (b"AddressSanitizer", b"runtime error:", b"LeakSanitizer",
                   b"UndefinedBehaviorSanitizer")

# Header fields (offset, size) of each kind of file, set to extremes.
FIELDS = {
    ".dbf": [(0, 1), (4, 4), (8, 2), (10, 2), (32 + 11, 1), (32 + 16, 1), (32 + 17, 1),
             (64 + 16, 1), (64 + 17, 1)],
    ".dbt": [(0, 4), (16, 1)],
    ".ntx": [(0, 2), (2, 2), (4, 4), (8, 4), (12, 2), (14, 2), (16, 2), (18, 2), (20, 2),
             (278, 1), (280, 1), (1024, 2), (1026, 2), (1024 + 130, 4), (1024 + 134, 4)],
}


def extremes(size):
    top = (1 << (8 * size)) - 1
    return [0, 1, top, top >> 1, (top >> 1) + 1, top - 1]


def mutate(rng, data):
    """Damages one file of the data set; returns a description."""
    names = sorted(os.listdir(data))
    name = rng.choice(names)
    path = os.path.join(data, name)
    with open(path, "rb") as f:
        content = bytearray(f.read())
    ext = os.path.splitext(name)[1].lower()
    kinds = ["flip", "flip", "cut", "field" if ext in FIELDS else "flip", "bytes"]
    if ext == ".cgp":
        kinds += ["group", "group"]
    kind = rng.choice(kinds)
    if not content:
        kind = "bytes"
    if kind == "flip":
        for _ in range(rng.choice([1, 1, 2, 8])):
            at = rng.randrange(len(content))
            content[at] ^= 1 << rng.randrange(8)
        what = "bits flipped"
    elif kind == "cut":
        content = content[:rng.randrange(len(content))]
        what = "cut to %d bytes" % len(content)
    elif kind == "field":
        offset, size = rng.choice([f for f in FIELDS[ext] if f[0] + f[1] <= len(content)])
        value = rng.choice(extremes(size))
        content[offset:offset + size] = value.to_bytes(size, "little")
        what = "field at %d set to %d" % (offset, value)
    elif kind == "bytes":
        at = rng.randrange(len(content) + 1)
        content[at:at + 4] = bytes(rng.randrange(256) for _ in range(4))
        what = "4 bytes replaced at %d" % at
    else:
        lines = content.decode("latin-1").split("\n")
        choice = rng.randrange(4)
        if choice == 0:
            rng.shuffle(lines)
        elif choice == 1 and len(lines) > 2:
            i = rng.randrange(1, len(lines) - 1)
            words = lines[i].split(" ")
            j = rng.randrange(1, len(lines) - 1)
            other = lines[j].split(" ")
            if len(words) == 2 and len(other) == 2:
                lines[i], lines[j] = words[0] + " " + other[1], other[0] + " " + words[1]
        elif choice == 2:
            lines.insert(rng.randrange(len(lines) + 1), rng.choice(
                ["x ../../etc/passwd", "t " + "n" * 300 + ".ntx", "a b c", "", "\r", "t t.ntx"]))
        else:
            lines = lines[:rng.randrange(len(lines) + 1)]
        content = bytearray("\n".join(lines).encode("latin-1"))
        what = "group lines changed"
    with open(path, "wb") as f:
        f.write(content)
    return "%s: %s" % (name, what)


def run(tool, args, limit):
    try:
        done = subprocess.run([tool] + args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              timeout=limit)
    except subprocess.TimeoutExpired:
        return "hang", b""
    crashed = done.returncode < 0 or done.returncode > 2 or any(
        mark in done.stderr for mark in SANITIZER_MARKS)
    return ("crash" if crashed else "ok"), done.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--inputs", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--limit", type=float, default=120, help="seconds per run")
    parser.add_argument("--keep", help="directory to keep the inputs that crashed or hung in")
    options = parser.parse_args()
    rng = random.Random(options.seed)
    work = tempfile.mkdtemp(prefix="pelmark-damage-")
    base = os.path.join(work, "base")
    subprocess.run([options.tool, "demo", base, "--customers", "30", "--invoices", "80",
                    "--products", "70", "--purchases", "60", "--seed", str(options.seed),
                    "--today", "2026-03-15"], check=True, stdout=subprocess.DEVNULL)
    counts = {"inputs": 0, "runs": 0, "ok": 0, "crash": 0, "hang": 0}
    try:
        for i in range(options.inputs):
            data = os.path.join(work, "d")
            shutil.rmtree(data, ignore_errors=True)
            shutil.copytree(base, data)
            what = [mutate(rng, data) for _ in range(rng.choice([1, 1, 1, 2, 3]))]
            counts["inputs"] += 1
            commands = [["check", data], ["dump", data, rng.choice(TABLES)],
                        ["dump", data, "INV5", "--tag", "invc"], ["reindex", data],
                        ["check", data]]
            for args in commands:
                result, err = run(options.tool, args, options.limit)
                counts["runs"] += 1
                counts[result] += 1
                if result != "ok":
                    print("%s on input %d (%s): %s" % (result, i, "; ".join(what), " ".join(args[:1])))
                    sys.stdout.write(err.decode("utf-8", "replace")[-3000:])
                    if options.keep:
                        shutil.copytree(data, os.path.join(options.keep, "input%d" % i),
                                        dirs_exist_ok=True)
                    break
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%(inputs)d damaged inputs, %(runs)d runs: %(ok)d ended with a status, "
          "%(crash)d crashes, %(hang)d hangs" % counts)
    return 0 if counts["crash"] == 0 and counts["hang"] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
