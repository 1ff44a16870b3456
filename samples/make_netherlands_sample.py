#!/usr/bin/env python3
"""Writes netherlands_egm96.txt: a "Netherlands" grid cut from EGM96, and its expected nodes.

52 values per data line, one line per row from 53°40'30"N southwards, 5' apart in longitude from
3°12'30"E and 3' apart in latitude (the format's preset spacings), 60 rows. Nodes over the North
Sea west of 4°30'E and north of 53°30'N carry the no-value code 99.999.

    apt-get install proj-data && python3 samples/make_netherlands_sample.py
"""
from egm96 import Egm96, sample_path, write_expected

LON0, LAT0 = 3 + 12 / 60 + 30 / 3600, 53 + 40 / 60 + 30 / 3600
DLON, DLAT = 5 / 60, 3 / 60
COLUMNS, ROWS = 52, 60


def main():
    egm = Egm96()
    lines = ["Netherlands geoid sample: EGM96 (made by make_netherlands_sample.py)",
             "columns 52  rows 60  spacing 5' x 3'  no value 99.999", ""]
    grid = {}
    for r in range(ROWS):  # north to south
        lat = LAT0 - r * DLAT
        values = []
        for c in range(COLUMNS):
            lon = LON0 + c * DLON
            sea = lon < 4.5 and lat > 53.5
            value = None if sea else round(egm.height(lon, lat), 3)
            grid[(r, c)] = (lon, lat, value)
            values.append("99.999" if value is None else "%.3f" % value)
        lines.append(" ".join(values))
    with open(sample_path("netherlands_egm96.txt"), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    write_expected(sample_path("netherlands_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS - 1, -1, -1) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
