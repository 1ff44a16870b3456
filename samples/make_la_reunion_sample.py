#!/usr/bin/env python3
"""Writes la_reunion_egm96.txt: a "La Reunion" grid cut from EGM96, and its expected nodes.

Header: latitudes -21.5 to -20.8, longitudes 55.1 to 55.9, both spacings 0.02 degrees (36 rows of
41 nodes); rows from north to south, wrapped over lines of eight values. The four corner nodes
carry the no-value code 9999.

    apt-get install proj-data && python3 samples/make_la_reunion_sample.py
"""
from egm96 import Egm96, sample_path, write_expected

LAT_MIN, LAT_MAX, LON_MIN, LON_MAX, STEP = -21.5, -20.8, 55.1, 55.9, 0.02
ROWS, COLUMNS = 36, 41


def main():
    egm = Egm96()
    lines = ["%.2f %.2f" % (LAT_MIN, LAT_MAX), "%.2f %.2f" % (LON_MIN, LON_MAX),
             "%.2f %.2f" % (STEP, STEP)]
    grid = {}
    corners = {(0, 0), (0, COLUMNS - 1), (ROWS - 1, 0), (ROWS - 1, COLUMNS - 1)}
    for r in range(ROWS):  # north to south
        values = []
        for c in range(COLUMNS):
            lon, lat = LON_MIN + c * STEP, LAT_MAX - r * STEP
            value = None if (r, c) in corners else round(egm.height(lon, lat), 3)
            grid[(r, c)] = (lon, lat, value)
            values.append("9999" if value is None else "%.3f" % value)
        for start in range(0, COLUMNS, 8):
            lines.append(" ".join(values[start:start + 8]))
    with open(sample_path("la_reunion_egm96.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    write_expected(sample_path("la_reunion_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS - 1, -1, -1) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
