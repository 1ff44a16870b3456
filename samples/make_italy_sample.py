#!/usr/bin/env python3
"""Writes italy_egm96.txt: an "Italy" block cut from EGM96, and its expected nodes.

The block holds 10 rows of 14 values, 2' apart (the format's preset spacing), from the
south-western node at 12°E 42°N; rows run from north to south, then come the latitude of the
southern row and the longitude of the western column.

    apt-get install proj-data && python3 samples/make_italy_sample.py
"""
from egm96 import Egm96, sample_path, write_expected

LON0, LAT0, STEP = 12.0, 42.0, 2 / 60
COLUMNS, ROWS = 14, 10


def main():
    egm = Egm96()
    lines = ["Italy geoid sample: EGM96 (made by make_italy_sample.py)", "",
             '"GEOIDE" 10 x 14, 2\' spacing', "N (m)"]
    grid = {}
    for r in range(ROWS - 1, -1, -1):  # north to south
        for c in range(COLUMNS):
            lon, lat = LON0 + c * STEP, LAT0 + r * STEP
            grid[(r, c)] = (lon, lat, round(egm.height(lon, lat), 3))
            lines.append("%9.3f" % grid[(r, c)][2])
    lines += ["%.6f  latitude of the southern row" % LAT0,
              "%.6f  longitude of the western column" % LON0]
    with open(sample_path("italy_egm96.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    write_expected(sample_path("italy_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
