#!/usr/bin/env python3
"""Writes catalunya_egm96.gr: a "Catalunya GR file" over Catalonia cut from EGM96.

The grid starts at 0°10'E 40°30'N (its south-west node) with a spacing of 2 minutes of arc,
97 columns by 73 rows, up to 3°22'E 42°54'N. Values are EGM96 heights in metres interpolated
bilinearly from PROJ's 15' grid, written with three decimals, rows from north to south.

    apt-get install proj-data && python3 samples/make_catalunya_sample.py
"""
import os

from egm96 import Egm96, write_expected

LON0 = (0, 10, 0)   # degrees, minutes, seconds
LAT0 = (40, 30, 0)
STEP = (0, 2, 0)
COLUMNS = 97
ROWS = 73


def degrees(dms):
    d, m, s = dms
    return d + m / 60.0 + s / 3600.0


def main():
    egm = Egm96()
    lon0, lat0, step = degrees(LON0), degrees(LAT0), degrees(STEP)
    dms = " ".join("%d %d %d" % part for part in (LON0, LAT0, STEP, (0, 0, 0)))
    lines = [
        "Catalunya geoid sample: EGM96 on a 2' grid (made by make_catalunya_sample.py)",
        "\\TYPE",
        "  \\CODE = GEOID(N)",
        "\\DESCRIPTION",
        "  \\ITEM UNITS = M",
        "  \\NUMBER OF ROWS = %d" % ROWS,
        "  \\NUMBER OF COLUMNS = %d" % COLUMNS,
        "  \\ORIENTATION PARAMETERS",
        "    \\CODE = HELMERT",
        "    \\UNITS = DEG DEG DEG DEG",
        "    \\LIST = " + dms,
        "  \\AUXILIARY INFORMATION",
        "    \\NUMBER OF POINTS = %d" % (ROWS * COLUMNS),
        "\\GRID SET",
        "\\DATA",
    ]
    grid = {}
    for r in range(ROWS - 1, -1, -1):  # north to south
        for c in range(COLUMNS):
            lon, lat = lon0 + c * step, lat0 + r * step
            grid[(r, c)] = (lon, lat, round(egm.height(lon, lat), 3))
            lines.append("%.3f" % grid[(r, c)][2])
    lines.append("\\END")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "catalunya_egm96.gr")
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    write_expected(path.replace(".gr", ".expected"),
                   [grid[(r, c)] for r in range(ROWS) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
