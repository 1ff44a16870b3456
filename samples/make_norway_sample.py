#!/usr/bin/env python3
"""Writes norway_egm96.bin: a "Norway" binary grid cut from EGM96, and its expected nodes.

A 64-byte little-endian header (latitudes 58 to 62, longitudes 5 to 12 degrees, spacings 0.05
and 0.1 degrees, geographical, WGS 1984), then 81 rows of 71 single-precision values from north
to south in blocks of 16 (the last block of a row padded with 9999.0). Nodes west of 5.3E and
north of 61.5N carry the no-value 9999.0.

    apt-get install proj-data && python3 samples/make_norway_sample.py
"""
import struct

from egm96 import Egm96, sample_path, write_expected

LAT_MIN, LAT_MAX, LON_MIN, LON_MAX = 58.0, 62.0, 5.0, 12.0
DLAT, DLON = 0.05, 0.1
ROWS, COLUMNS = 81, 71


def main():
    egm = Egm96()
    header = struct.pack("<i6d3i", 0, LAT_MIN, LAT_MAX, LON_MIN, LON_MAX, DLAT, DLON, 0, 1, 0)
    body = bytearray()
    grid = {}
    blocks = (COLUMNS + 15) // 16
    for r in range(ROWS):  # north to south
        lat = LAT_MAX - r * DLAT
        values = []
        for c in range(COLUMNS):
            lon = LON_MIN + c * DLON
            value = None if lon < 5.3 and lat > 61.5 else round(egm.height(lon, lat), 3)
            grid[(r, c)] = (lon, lat, value)
            values.append(9999.0 if value is None else value)
        values += [9999.0] * (blocks * 16 - COLUMNS)
        body += struct.pack("<%df" % len(values), *values)
    with open(sample_path("norway_egm96.bin"), "wb") as f:
        f.write(header + bytes(body))
    write_expected(sample_path("norway_egm96.expected"),
                   [grid[(r, c)] for r in range(ROWS - 1, -1, -1) for c in range(COLUMNS)])


if __name__ == "__main__":
    main()
