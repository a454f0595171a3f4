"""Times whole processes that square a picture, median of several runs.

Called by bench/compare with a work folder holding in/ (the inputs) and the
number of runs. Each command writes its square to the work folder; peak
memory is the process's maximum resident set, as the kernel reports it.
"""

import os
import statistics
import subprocess
import sys
import time

WORK, RUNS = sys.argv[1], int(sys.argv[2])
INPUTS = ["photo.jpg", "alpha.png", "flat.gif", "screen.bmp"]
EDGES = [420, 2000]
OURS = os.path.join(os.getcwd(), "build", "squarepic-cli")

PILLOW_FULL = (
    "import sys; from PIL import Image; im = Image.open(sys.argv[1]); s = int(sys.argv[2]); "
    "im.convert('RGB').resize((s, s), Image.BOX).save(sys.argv[3], 'BMP')"
)
PILLOW_DRAFT = (
    "import sys; from PIL import Image; im = Image.open(sys.argv[1]); s = int(sys.argv[2]); "
    "im.draft('RGB', (s, s)); im.convert('RGB').resize((s, s), Image.BOX).save(sys.argv[3], 'BMP')"
)


def commands(source, edge):
    out = os.path.join(WORK, "out")
    jpeg = source.endswith(".jpg")
    size = f"{edge}x{edge}"
    listed = [
        ("squarepic-cli", [OURS, "square", source, str(edge), out + ".bmp"]),
        ("ImageMagick Box", ["convert", source, "-filter", "Box", "-resize", size + "!", "BMP3:" + out + "-im.bmp"]),
        ("vips resize", ["vips", "resize", source, out + "-vips.v", str(edge / width_of(source)),
                         "--vscale", str(edge / height_of(source)), "--kernel", "linear"]),
        ("Pillow BOX", ["/usr/bin/python3", "-c", PILLOW_FULL, source, str(edge), out + "-pil.bmp"]),
    ]
    if jpeg:  # the peers' DCT-scaled paths: faster, at lower quality
        listed += [
            ("ImageMagick jpeg:size", ["convert", "-define", "jpeg:size=" + size, source, "-filter", "Box",
                                       "-resize", size + "!", "BMP3:" + out + "-imd.bmp"]),
            ("vipsthumbnail", ["vipsthumbnail", source, "--size", size + "!", "-o", out + "-vt.v"]),
            ("Pillow draft", ["/usr/bin/python3", "-c", PILLOW_DRAFT, source, str(edge), out + "-pild.bmp"]),
        ]
    return listed


SIZES = {"photo.jpg": (6000, 4000), "alpha.png": (4000, 3000), "flat.gif": (1000, 1000), "screen.bmp": (1920, 1080)}


def width_of(source):
    return SIZES[os.path.basename(source)][0]


def height_of(source):
    return SIZES[os.path.basename(source)][1]


def measure(command):
    """Median seconds and the largest peak memory (MiB) over RUNS runs."""
    times, peaks = [], []
    for _ in range(RUNS):
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        times.append(time.perf_counter() - start)
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            return None
        peaks.append(usage.ru_maxrss / 1024)
    return statistics.median(times), max(peaks)


def djpeg_baseline(source):
    timed = measure(["djpeg", "-ppm", "-outfile", "/dev/null", source])
    return timed[0] if timed else None


def main():
    print(f"median of {RUNS} runs, whole process; ratio = peer time / squarepic-cli time")
    for name in INPUTS:
        source = os.path.join(WORK, "in", name)
        for edge in EDGES:
            print(f"\n{name} -> {edge} x {edge}")
            ours = None
            for label, command in commands(source, edge):
                timed = measure(command)
                if timed is None:
                    print(f"  {label:24} failed")
                    continue
                seconds, peak = timed
                ours = ours or seconds
                print(f"  {label:24} {seconds * 1000:8.0f} ms {peak:8.0f} MiB   ratio {seconds / ours:5.2f}")
            if name.endswith(".jpg") and edge == 420:
                djpeg = djpeg_baseline(source)
                if djpeg:
                    print(f"  {'djpeg -ppm (decode only)':24} {djpeg * 1000:8.0f} ms"
                          f"   squarepic-cli / djpeg = {ours / djpeg:.2f}")


main()
