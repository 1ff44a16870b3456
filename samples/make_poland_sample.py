#!/usr/bin/env python3
"""Writes poland_egm96.txt: a "Poland PL_Geoid_2011" node list cut from EGM96, and its nodes.

Tab-separated lines "latitude longitude separation" for the nodes of a 0.01-degree grid from
19.00E 50.00N to 19.50E 50.30N (the format's preset spacing), in shuffled order, after "#"
comment lines. Five interior nodes are left out, so the model holds them without value.

    apt-get install proj-data && python3 samples/make_poland_sample.py
"""
import random

from egm96 import Egm96, sample_path, write_expected

LON0, LAT0, STEP = 19.0, 50.0, 0.01
COLUMNS, ROWS = 51, 31
LEFT_OUT = {(5, 7), (10, 20), (15, 40), (20, 3), (30, 25)}


def main():
    egm = Egm96()
    grid = {}
    lines = []
    for r in range(ROWS):
        for c in range(COLUMNS):
            lon, lat = LON0 + c * STEP, LAT0 + r * STEP
            value = None if (r, c) in LEFT_OUT else round(egm.height(lon, lat), 4)
            grid[(r, c)] = (lon, lat, value)
            if value is not None:
                lines.append("%.2f\t%.2f\t%.4f" % (lat, lon, value))
    random.Random(2011).shuffle(lines)
    header = ["#\tPoland geoid sample: EGM96 (made by make_poland_sample.py)",
              "#\tlatitude\tlongitude\tseparation"]
    with open(sample_path("poland_egm96.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(header + lines) + "\n")
    write_expected(sample_path("poland_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
