#!/usr/bin/env python3
"""Writes switzerland_egm96.txt: a "Switzerland" grid cut from EGM96, and its expected nodes.

361 values per data line, one line per row of the Swiss projected grid (LV03, metres) from
northing 302000 southwards, 1000 m apart from easting 480000, 30 rows. Each node is mapped to
latitude and longitude with swisstopo's published approximate formulas, then EGM96 is
interpolated there.

    apt-get install proj-data && python3 samples/make_switzerland_sample.py
"""
from egm96 import Egm96, sample_path, write_expected

E0, N0, STEP = 480000.0, 302000.0, 1000.0
COLUMNS, ROWS = 361, 30


def lv03_to_wgs84(east, north):
    y = (east - 600000.0) / 1e6
    x = (north - 200000.0) / 1e6
    lon = 2.6779094 + 4.728982 * y + 0.791484 * y * x + 0.1306 * y * x * x - 0.0436 * y ** 3
    lat = (16.9023892 + 3.238272 * x - 0.270978 * y * y - 0.002528 * x * x
           - 0.0447 * y * y * x - 0.0140 * x ** 3)
    return lon * 100 / 36, lat * 100 / 36


def main():
    egm = Egm96()
    lines = ["Switzerland geoid sample: EGM96 on the LV03 grid (made by make_switzerland_sample.py)",
             "E 480000-840000 N 302000-273000 step 1000 m"]
    grid = {}
    for r in range(ROWS):
        north = N0 - r * STEP
        values = []
        for c in range(COLUMNS):
            east = E0 + c * STEP
            value = round(egm.height(*lv03_to_wgs84(east, north)), 3)
            grid[(r, c)] = (east, north, value)
            values.append("%.3f" % value)
        lines.append(" ".join(values))
    with open(sample_path("switzerland_egm96.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    write_expected(sample_path("switzerland_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS - 1, -1, -1) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
