#!/usr/bin/env python3
"""Mutates every sample N times (truncations, byte flips, inserted runs of digits, NaN/inf,
deleted spans, and the intact file whose reads fail with EIO from a random offset on, through the
fault shim of tests/app) and converts each mutant with `hextant-convert --overwrite` onto an
existing model. Counts crashes (death by a signal), hangs (no end within the time limit), lost
models (a run that failed but left a model different from the one that was there, or a model
that does not pass hextant-inspect) and short successes (a run whose reads failed that still
exited 0, which would be a model with fewer nodes than the source holds).

    mutation_campaign.py BUILD_DIR SAMPLES_DIR [N] [SEED] [XYZ]

XYZ, a large 'X Y N' text grid at 0.25 degrees (such as EGM96 15' written by gdal_translate -of XYZ),
is mutated as well, so that the reading threads see many blocks.
"""
import os, random, shutil, subprocess, sys, tempfile

FORMATS = [("catalunya", "catalunya_egm96.gr"), ("netherlands", "netherlands_egm96.txt"),
           ("norway", "norway_egm96.bin"), ("switzerland", "switzerland_egm96.txt"),
           ("italy", "italy_egm96.txt"), ("la-reunion", "la_reunion_egm96.txt"),
           ("poland", "poland_egm96.txt"), ("wizard", "generic_egm96.xyz"),
           ("grid", "isg20_egm96_dms.isg"), ("grid", "isg10_egm96.isg"), ("grid", "egm96_cut.gtx"),
           ("grid", "egm96_esri.asc"), ("grid", "egm96_ngs_be.bin"),
           ("grid", "egm96_byn4.byn"),
           ("grid", "egm96_surfer.grd"), ("grid", "egm96_surfer7.grd")]
WIZARD = ["--angular-unit", "decimal-degrees", "--spacing-x", "0.25", "--spacing-y", "0.25",
          "--delimiter", "space", "--column", "x=1", "--column", "y=2", "--column",
          "separation=3"]
TIME_LIMIT = 20


def mutate(data: bytes, rng: random.Random, kind: int) -> bytes:
    b = bytearray(data)
    if kind == 0:  # truncation
        return bytes(b[: rng.randrange(len(b) + 1)])
    if kind == 1:  # byte flips
        for _ in range(rng.randint(1, 8)):
            i = rng.randrange(len(b))
            b[i] ^= 1 << rng.randrange(8)
        return bytes(b)
    if kind == 2:  # an inserted run of digits
        i = rng.randrange(len(b) + 1)
        return bytes(b[:i]) + b"9" * rng.choice([5, 40, 400, 5000]) + bytes(b[i:])
    if kind == 3:  # NaN or inf in place of a number
        i = rng.randrange(len(b))
        return bytes(b[:i]) + rng.choice([b"nan", b"inf", b"-inf", b"1e999"]) + bytes(b[i + 3 :])
    i = rng.randrange(len(b))  # a deleted span
    return bytes(b[:i]) + bytes(b[i + rng.randint(1, 2000) :])


def main() -> int:
    build, samples = sys.argv[1], sys.argv[2]
    n = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    convert = os.path.join(build, "src/app/hextant-convert")
    inspect = os.path.join(build, "src/app/hextant-inspect")
    shim = os.path.join(build, "tests/app/libfault_shim.so")
    crashes = hangs = lost = short = runs = read_errors = 0
    statuses = {}
    with tempfile.TemporaryDirectory() as work:
        sources = [(fmt, os.path.join(samples, name)) for fmt, name in FORMATS]
        if len(sys.argv) > 5:
            sources.append(("wizard", sys.argv[5]))
        for fmt, path in sources:
            original = open(path, "rb").read()
            source = os.path.join(work, os.path.basename(path))
            model = os.path.join(work, "model.HDM")
            shutil.copy(path, source)
            options = ["--format", fmt, "--quiet", "--overwrite", "--output", model]
            options += WIZARD if fmt == "wizard" else []
            subprocess.run([convert] + options + [source], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            for _ in range(n):
                before = open(model, "rb").read()
                kind = rng.randrange(6 if os.path.exists(shim) else 5)
                env = dict(os.environ)
                if kind == 5:  # the intact file, unreadable from a random byte on
                    open(source, "wb").write(original)
                    env.update(LD_PRELOAD=shim, HEXTANT_FAIL_READS_OF=os.path.realpath(source),
                               HEXTANT_FAIL_AFTER=str(rng.randrange(len(original))))
                    read_errors += 1
                else:
                    open(source, "wb").write(mutate(original, rng, kind))
                runs += 1
                try:
                    r = subprocess.run([convert] + options + [source], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, timeout=TIME_LIMIT, env=env)
                except subprocess.TimeoutExpired:
                    hangs += 1
                    continue
                statuses[r.returncode] = statuses.get(r.returncode, 0) + 1
                if r.returncode < 0:
                    crashes += 1
                if kind == 5 and r.returncode == 0:
                    short += 1
                if not os.path.exists(model):
                    lost += 1
                    open(model, "wb").write(before)
                elif r.returncode not in (0, 3) and open(model, "rb").read() != before:
                    lost += 1
                elif subprocess.run([inspect, model], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL).returncode != 0:
                    lost += 1
    print(f"{runs} runs ({read_errors} with read errors): {crashes} crashes, {hangs} hangs, "
          f"{lost} lost models, {short} short successes; exit statuses "
          + ", ".join(f"{k}: {v}" for k, v in sorted(statuses.items())))
    return 1 if crashes or hangs or lost or short else 0


if __name__ == "__main__":
    sys.exit(main())
