#!/usr/bin/env python3
"""Two stipple writers of one file at once, and what taking turns costs.

    bench/writer-turns.py NEW_STIPPLE [OLD_STIPPLE]

For each binary: ROUNDS (default 50) rounds of each pair of writers started together on one
file (append + append, save + append, append + append through two hard links, two appends
making the file), counting the rounds that lost a block; then the best of three runs of one
export of 5,000 pictures into one file, and 5,000 appends to one file, one stipple each,
in wall time and in the CPU time of the stipple processes. With an old binary, prints the
ratios new / old. TMPDIR chooses the file system. Measures, asserts nothing.
"""

import os
import resource
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROUNDS = int(os.environ.get("ROUNDS", "50"))
PICTURES = int(os.environ.get("PICTURES", "5000"))


def picture(path, name, width=8, height=4, seed=0):
    cells = [(x * 7 + y * 3 + seed) % 5 for y in range(height) for x in range(width)]
    raw = struct.pack("<ii", 1, len(name)) + name.encode() + struct.pack("<ii", width, height)
    raw += b"".join(struct.pack("<i", c) for c in cells)
    Path(path).write_bytes(raw.replace(b"\n", b"\r\n"))


def block(stipple, pic, name):
    return subprocess.run([stipple, "export", "--format", "file", "--name", name, pic],
                          capture_output=True, check=True).stdout


def rounds(stipple, work):
    pic = str(work / "p.stw")
    picture(pic, "p")
    a, b = block(stipple, pic, "A"), block(stipple, pic, "B")
    old = b"o" * (1 << 20)
    pairs = [("append + append", False, False, False), ("save + append", True, False, False),
             ("through two hard links", False, True, False),
             ("both making the file", False, False, True)]
    results = []
    for label, first_saves, hard_link, missing in pairs:
        lost = 0
        for _ in range(ROUNDS):
            out, other = work / "f.s", work / "g.s"
            for f in (out, other):
                f.unlink(missing_ok=True)
            if not missing:
                out.write_bytes(old)
            if hard_link:
                os.link(out, other)
            first = [stipple, "export", "--format", "file", "--name", "A",
                     "-o" if first_saves else "--append", str(out), pic]
            second = [stipple, "export", "--format", "file", "--name", "B", "--append",
                      str(other if hard_link else out), pic]
            writers = [subprocess.Popen(argv, stderr=subprocess.DEVNULL) for argv in (first, second)]
            for w in writers:
                w.wait()
            before = b"" if missing else old
            now = out.read_bytes()
            whole = {a, a + b} if first_saves else {before + a + b, before + b + a}
            lost += now not in whole
        results.append((label, lost))
    return results


def children_cpu():
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime + used.ru_stime


def timed(run):
    """Wall time and the CPU time of the processes it ran, which other load disturbs less."""
    wall, cpu = time.perf_counter(), children_cpu()
    run()
    return time.perf_counter() - wall, children_cpu() - cpu


def best_of_three(run):
    return min(timed(run) for _ in range(3))


def costs(stipple, work):
    folder = work / "many"
    folder.mkdir(exist_ok=True)
    inputs = [str(folder / f"p{n:05}.stw") for n in range(PICTURES)]
    for n, path in enumerate(inputs):
        if not os.path.exists(path):
            picture(path, f"p{n}", seed=n)
    out = work / "all.s"
    batch = best_of_three(lambda: subprocess.run(
        [stipple, "export", "--format", "file", "-o", str(out), *inputs], check=True))
    appended = work / "appended.s"
    appended.unlink(missing_ok=True)
    appends = timed(lambda: [subprocess.run(
        [stipple, "export", "--format", "file", "--append", str(appended), path], check=True)
        for path in inputs])
    return batch, appends


def main():
    binaries = [os.path.realpath(b) for b in sys.argv[1:3]]
    if not binaries:
        sys.exit(__doc__)
    measured = []
    for stipple in binaries:
        with tempfile.TemporaryDirectory() as tmp:
            work = Path(tmp)
            print(stipple)
            for label, lost in rounds(stipple, work):
                print(f"  {label:24} {ROUNDS} rounds, {lost} lost a block")
            batch, appends = costs(stipple, work)
            print(f"  one export of {PICTURES} pictures into one file: {batch[0]:7.3f} s, "
                  f"CPU {batch[1]:.3f} s")
            print(f"  {PICTURES} appends to one file, one stipple each: {appends[0]:7.3f} s "
                  f"({1000 * appends[0] / PICTURES:.2f} ms each), CPU {appends[1]:.3f} s "
                  f"({1000 * appends[1] / PICTURES:.2f} ms each)")
            measured.append((batch, appends))
    if len(measured) == 2:
        (nb, na), (ob, oa) = measured
        print(f"new / old, wall (CPU): one export {nb[0] / ob[0]:.3f} ({nb[1] / ob[1]:.3f}), "
              f"appends {na[0] / oa[0]:.3f} ({na[1] / oa[1]:.3f})")


if __name__ == "__main__":
    main()
