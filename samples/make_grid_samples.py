#!/usr/bin/env python3
"""Writes the grid samples cut from EGM96, and the expected nodes of each:

isg20_egm96_dms.isg
    ISG 2.0 with a few lines of free text before the header, bounds and spacings in
    degrees-minutes-seconds (44°00'00"), rows from north to south. The nodes are the 15' EGM96
    nodes themselves (no interpolation) over 5-15E 44-49N: 21 rows of 41 nodes. Five nodes carry
    the no-value -9999.0000 (NODATA below).
isg20_egm96_deg.isg
    ISG 2.0 in decimal degrees, a 5' grid over 10-11E 45-46N (13 rows of 13 nodes) interpolated
    bilinearly, the spacing written rounded (0.083333) as published headers do, rows from south
    to north.
isg10_egm96.isg
    ISG 1.0 with the old short header (four texts: model name, model type, units, reference, then
    the grid's numbers), whose bounds are the edges of the cells around the nodes (half a spacing
    outside the outer nodes): the 15' EGM96 nodes over 20-25E 50-53N, 13 rows of 21 nodes, rows
    from north to south.
egm96_cut.gtx
    a GTX cut by GDAL from the 15' grid over 10W-0E 35-40N (21 rows of 41 nodes):

        gdal_translate -q -of GTX -projwin -10.125 40.125 0.125 34.875 \\
            /usr/share/proj/egm96_15.gtx egm96_cut.gtx

    -projwin takes the edges of GDAL's pixels, which are centred on the GTX nodes, hence the
    eighth of a degree outside the outer nodes. Skipped with a message without gdal_translate.

egm96_esri.asc
    an ESRI ASCII grid written by GDAL (gdal_translate -of AAIGrid) from a GTX of the 15' EGM96
    nodes over 30-34E 30-33N (13 rows of 17) in which two nodes are -88.8888, GTX's no-value:
    xllcorner/yllcorner are the cells' edges, an eighth of a degree outside the nodes.
egm96_esri_centre.asc
    an ESRI ASCII grid written here: keys in mixed case, xllcenter/yllcenter on the nodes, dx 0.25
    and dy 0.5 over 140-145E 40-35S (11 rows of 21), NODATA_value -9999 on two nodes.
egm96_ngs_be.bin, egm96_ngs_le.bin
    NGS binary geoid grids written here from the 44-byte header NGS documents (SLAT, WLON, DLAT,
    DLON as float64, NLAT, NLON, IKIND = 1 as int32, then float32 rows from south to north), west
    longitude from 0 to 360: big-endian over 235-245E 40-45N (21 rows of 41) with one node 9999
    and one -9999, little-endian over 280-285E 25-28N (13 rows of 21).
egm96_byn4.byn, egm96_byn2.byn
    BYN grids written by GDAL (gdal_translate -of BYN) from a GTX of the 15' EGM96 nodes over
    0-5E 45-48N (13 rows of 21): 4-byte integers in millimetres (factor 1000) with two nodes
    9999 m, BYN's no-value, and 2-byte integers in centimetres (factor 100) with two nodes
    32767, its 2-byte no-value. GDAL writes the header little-endian and the values big-endian.
egm96_surfer.grd, egm96_surfer6.grd, egm96_surfer7.grd
    Surfer grids written by GDAL (gdal_translate -of GSAG, GSBG, GS7BG) from a GTX of the 15'
    EGM96 nodes over 80-76W 5-2S (13 rows of 17) in which two nodes hold 1.70141e38, Surfer's
    blanking value: the DSAA text grid, the Surfer 6 binary and the Surfer 7 tagged binary grid.

In ISG 2.0 the bounds are the outer nodes and the spacing is (max - min) / (n - 1); keys holding
texts take ':', numbers '='. Values have four decimals, one grid row per line. The expected
values are the ones written in the file (for the GTX, its float32 values read back).

    apt-get install proj-data gdal-bin && python3 samples/make_grid_samples.py
"""
import os
import shutil
import struct
import subprocess

from egm96 import Egm96, GTX_PATH, sample_path, write_expected

NODATA = -9999.0
CREATION_DATE = "07/12/2026"
HEAD_RULE = "=" * 50

# isg20_egm96_dms.isg: EGM96 nodes 5..15E 44..49N, 15' apart.
DMS_LAT_MIN, DMS_LAT_MAX, DMS_LON_MIN, DMS_LON_MAX, DMS_STEP = 44.0, 49.0, 5.0, 15.0, 0.25
DMS_NODATA = {(5.0, 49.0), (15.0, 44.0), (10.0, 46.5), (10.25, 46.5), (7.5, 44.0)}  # (lon, lat)

# isg20_egm96_deg.isg: 5' nodes 10..11E 45..46N.
DEG_LAT_MIN, DEG_LON_MIN, DEG_SIZE = 45.0, 10.0, 13
DEG_STEP = 1.0 / 12.0

# isg10_egm96.isg: EGM96 nodes 20..25E 50..53N, 15' apart.
OLD_LAT_MIN, OLD_LAT_MAX, OLD_LON_MIN, OLD_LON_MAX, OLD_STEP = 50.0, 53.0, 20.0, 25.0, 0.25

# egm96_cut.gtx: projwin (west, north, east, south edges) around the nodes 10W..0E 35..40N.
GTX_WINDOW = (-10.125, 40.125, 0.125, 34.875)


def egm_node(egm, lon, lat):
    """The EGM96 value of the 15' node at (lon, lat), which must be a multiple of 0.25 degrees."""
    row = int(round((lat - egm.lat0) / egm.dlat))
    col = int(round((lon - egm.lon0) / egm.dlon))
    return egm.node(row, col)


def dms(value):
    """Degrees as D°MM'SS" (whole seconds)."""
    seconds = int(round(abs(value) * 3600.0))
    return "%s%d°%02d'%02d\"" % ("-" if value < 0 else "", seconds // 3600, seconds // 60 % 60,
                                 seconds % 60)


def text_key(key, value):
    return "%-15s: %s" % (key, value)


def number_key(key, value):
    return "%-15s= %11s" % (key, value)


def isg20_header(model, bounds, steps, rows, columns, units, ordering, epsg):
    """The ISG 2.0 header lines; bounds (lat min, lat max, lon min, lon max) and steps (lat,
    lon) already written as text."""
    lines = ["begin_of_head " + HEAD_RULE]
    lines += [text_key(k, v) for k, v in (
        ("model name", model), ("model year", "1996"), ("model type", "gravimetric"),
        ("data type", "geoid"), ("data units", "meters"), ("data format", "grid"),
        ("data ordering", ordering), ("ref ellipsoid", "WGS84"), ("ref frame", "---"),
        ("height datum", "---"), ("tide system", "tide-free"), ("coord type", "geodetic"),
        ("coord units", units), ("map projection", "---"), ("EPSG code", epsg))]
    lines += [number_key(k, v) for k, v in zip(
        ("lat min", "lat max", "lon min", "lon max", "delta lat", "delta lon"),
        bounds + steps)]
    lines += [number_key("nrows", "%d" % rows), number_key("ncols", "%d" % columns),
              number_key("nodata", "%.4f" % NODATA), number_key("creation date", CREATION_DATE),
              number_key("ISG format", "2.0"), "end_of_head " + HEAD_RULE]
    return lines


def data_line(row):
    return " ".join("%10.4f" % (NODATA if value is None else value) for _, _, value in row)


def write_text(name, lines):
    with open(sample_path(name), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def south_to_north(rows):
    """The nodes of rows given from north to south, in the expected order."""
    return [node for row in reversed(rows) for node in row]


def make_isg20_dms(egm):
    rows_count = int(round((DMS_LAT_MAX - DMS_LAT_MIN) / DMS_STEP)) + 1
    columns = int(round((DMS_LON_MAX - DMS_LON_MIN) / DMS_STEP)) + 1
    rows = []
    for r in range(rows_count):  # north to south
        lat = DMS_LAT_MAX - r * DMS_STEP
        row = []
        for c in range(columns):
            lon = DMS_LON_MIN + c * DMS_STEP
            value = None if (lon, lat) in DMS_NODATA else round(egm_node(egm, lon, lat), 4)
            row.append((lon, lat, value))
        rows.append(row)
    lines = [
        "EGM96 geoid heights on its own 15' nodes over the Alps, cut from PROJ's egm96_15.gtx",
        "(Debian package proj-data) by make_grid_samples.py.",
        "Modèle global, hauteurs du géoïde en mètres; five nodes are left without value.",
        "",
    ]
    lines += isg20_header(
        "EGM96 (Alps, 15' nodes)",
        tuple(dms(v) for v in (DMS_LAT_MIN, DMS_LAT_MAX, DMS_LON_MIN, DMS_LON_MAX)),
        (dms(DMS_STEP), dms(DMS_STEP)), rows_count, columns, "dms", "N-to-S, W-to-E", "4326")
    lines += [data_line(row) for row in rows]
    write_text("isg20_egm96_dms.isg", lines)
    write_expected(sample_path("isg20_egm96_dms.expected"), south_to_north(rows))


def make_isg20_deg(egm):
    rows = []
    for r in range(DEG_SIZE - 1, -1, -1):  # north to south
        lat = DEG_LAT_MIN + r * DEG_STEP
        rows.append([(DEG_LON_MIN + c * DEG_STEP, lat,
                      round(egm.height(DEG_LON_MIN + c * DEG_STEP, lat), 4))
                     for c in range(DEG_SIZE)])
    span = (DEG_SIZE - 1) * DEG_STEP
    bounds = tuple("%.6f" % v for v in (DEG_LAT_MIN, DEG_LAT_MIN + span, DEG_LON_MIN,
                                        DEG_LON_MIN + span))
    lines = ["EGM96 on a 5' grid, interpolated bilinearly from PROJ's 15' grid."]
    lines += isg20_header("EGM96 (5' grid)", bounds, ("%.6f" % DEG_STEP, "%.6f" % DEG_STEP),
                          DEG_SIZE, DEG_SIZE, "deg", "S-to-N, W-to-E", "---")
    lines += [data_line(row) for row in reversed(rows)]  # south to north
    write_text("isg20_egm96_deg.isg", lines)
    write_expected(sample_path("isg20_egm96_deg.expected"), south_to_north(rows))


def make_isg10(egm):
    rows_count = int(round((OLD_LAT_MAX - OLD_LAT_MIN) / OLD_STEP)) + 1
    columns = int(round((OLD_LON_MAX - OLD_LON_MIN) / OLD_STEP)) + 1
    rows = []
    for r in range(rows_count):  # north to south
        lat = OLD_LAT_MAX - r * OLD_STEP
        rows.append([(OLD_LON_MIN + c * OLD_STEP, lat,
                      round(egm_node(egm, OLD_LON_MIN + c * OLD_STEP, lat), 4))
                     for c in range(columns)])
    half = OLD_STEP / 2
    lines = ["begin_of_head " + HEAD_RULE]
    lines += ["%-11s: %s" % (k, v) for k, v in (
        ("model name", "EGM96"), ("model type", "gravimetric"), ("units", "meters"),
        ("reference", "WGS84"))]
    lines += ["%-11s= %11s" % (k, v) for k, v in (
        ("lat min", "%.6f" % (OLD_LAT_MIN - half)), ("lat max", "%.6f" % (OLD_LAT_MAX + half)),
        ("lon min", "%.6f" % (OLD_LON_MIN - half)), ("lon max", "%.6f" % (OLD_LON_MAX + half)),
        ("delta lat", "%.6f" % OLD_STEP), ("delta lon", "%.6f" % OLD_STEP),
        ("nrows", "%d" % rows_count), ("ncols", "%d" % columns),
        ("nodata", "%.4f" % NODATA), ("ISG format", "1.0"))]
    lines.append("end_of_head " + HEAD_RULE)
    lines += [data_line(row) for row in rows]
    write_text("isg10_egm96.isg", lines)
    write_expected(sample_path("isg10_egm96.expected"), south_to_north(rows))


def make_gtx():
    if shutil.which("gdal_translate") is None:
        print("gdal_translate not found (apt-get install gdal-bin): egm96_cut.gtx not made")
        return
    path = sample_path("egm96_cut.gtx")
    subprocess.run(["gdal_translate", "-q", "-of", "GTX", "-projwin"]
                   + ["%g" % v for v in GTX_WINDOW] + [GTX_PATH, path], check=True)
    if os.path.exists(path + ".aux.xml"):
        os.remove(path + ".aux.xml")
    with open(path, "rb") as f:
        data = f.read()
    lat0, lon0, dlat, dlon = struct.unpack(">4d", data[:32])
    rows, columns = struct.unpack(">2i", data[32:40])
    values = struct.unpack(">%df" % (rows * columns), data[40:40 + 4 * rows * columns])
    # GTX rows run from south to north already.
    write_expected(sample_path("egm96_cut.expected"),
                   [(lon0 + c * dlon, lat0 + r * dlat, values[r * columns + c])
                    for r in range(rows) for c in range(columns)])


# The cuts of the other layouts: (west, south, columns, rows, dx, dy) of the nodes.
ESRI_CUT = (30.0, 30.0, 17, 13, 0.25, 0.25)
ESRI_NODATA = {(0, 0), (5, 7)}  # (row from south, column)
CENTRE_CUT = (140.0, -40.0, 21, 11, 0.25, 0.5)
CENTRE_NODATA = {(0, 20), (6, 3)}
NGS_CUTS = (("egm96_ngs_be.bin", ">", (235.0, 40.0, 41, 21, 0.25, 0.25)),
            ("egm96_ngs_le.bin", "<", (280.0, 25.0, 21, 13, 0.25, 0.25)))
NGS_FILLED = {(3, 4): 9999.0, (10, 30): -9999.0}


def float32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def cut(egm, area, marked, fill):
    """The nodes of `area` south row first: (lon, lat, value) with the value `fill` (None for the
    expected file) at the (row, column) pairs of `marked`, or marked[(row, column)] for a dict."""
    west, south, columns, rows, dx, dy = area
    nodes = []
    for r in range(rows):
        for c in range(columns):
            lon, lat = west + c * dx, south + r * dy
            if (r, c) in marked:
                value = marked[(r, c)] if isinstance(marked, dict) else fill
            else:
                value = float32(egm_node(egm, lon, lat))
            nodes.append((lon, lat, value))
    return nodes


def expected(nodes, no_values, wrap=False):
    return [(lon - 360.0 if wrap and lon > 180 else lon, lat, None if v in no_values else v)
            for lon, lat, v in nodes]


def make_esri(egm):
    if shutil.which("gdal_translate") is None:
        print("gdal_translate not found (apt-get install gdal-bin): egm96_esri.asc not made")
        return
    west, south, columns, rows, dx, dy = ESRI_CUT
    nodes = cut(egm, ESRI_CUT, ESRI_NODATA, -88.8888)
    source = sample_path("egm96_esri_source.gtx")
    with open(source, "wb") as f:
        f.write(struct.pack(">4d2i", south, west, dy, dx, rows, columns))
        f.write(struct.pack(">%df" % len(nodes), *[v for _, _, v in nodes]))
    path = sample_path("egm96_esri.asc")
    subprocess.run(["gdal_translate", "-q", "-of", "AAIGrid", source, path], check=True)
    for extra in (source, path + ".aux.xml", sample_path("egm96_esri.prj")):
        if os.path.exists(extra):
            os.remove(extra)
    write_expected(sample_path("egm96_esri.expected"), expected(nodes, {-88.8888}))


def make_esri_centre(egm):
    west, south, columns, rows, dx, dy = CENTRE_CUT
    nodes = cut(egm, CENTRE_CUT, CENTRE_NODATA, NODATA)
    lines = ["NCOLS %d" % columns, "nrows %d" % rows, "XllCenter %g" % west,
             "yllcenter %g" % south, "dx %g" % dx, "DY %g" % dy, "NODATA_value -9999"]
    for r in range(rows - 1, -1, -1):  # north to south
        row = nodes[r * columns:(r + 1) * columns]
        lines.append(" ".join("%.4f" % v if v != NODATA else "-9999" for _, _, v in row))
    write_text("egm96_esri_centre.asc", lines)
    write_expected(sample_path("egm96_esri_centre.expected"),
                   [(x, y, None if v == NODATA else round(v, 4)) for x, y, v in nodes])


def make_ngs(egm):
    for name, order, area in NGS_CUTS:
        west, south, columns, rows, dx, dy = area
        nodes = cut(egm, area, NGS_FILLED if order == ">" else {}, None)
        with open(sample_path(name), "wb") as f:
            f.write(struct.pack(order + "4d3i", south, west, dy, dx, rows, columns, 1))
            f.write(struct.pack(order + "%df" % len(nodes), *[v for _, _, v in nodes]))
        write_expected(sample_path(name.replace(".bin", ".expected")),
                       expected(nodes, {9999.0, -9999.0}, wrap=True))


BYN_CUT = (0.0, 45.0, 21, 13, 0.25, 0.25)
BYN_NODATA = {(0, 0), (7, 11)}
BYN_SAMPLES = (("egm96_byn4.byn", "Int32", 1000, 9999.0, 9999000),
               ("egm96_byn2.byn", "Int16", 100, 327.67, 32767))


def make_byn(egm):
    if shutil.which("gdal_translate") is None:
        print("gdal_translate not found (apt-get install gdal-bin): the BYN samples not made")
        return
    west, south, columns, rows, dx, dy = BYN_CUT
    for name, kind, factor, fill, stored_fill in BYN_SAMPLES:
        nodes = cut(egm, BYN_CUT, BYN_NODATA, fill)
        source = sample_path("egm96_byn_source.gtx")
        with open(source, "wb") as f:
            f.write(struct.pack(">4d2i", south, west, dy, dx, rows, columns))
            f.write(struct.pack(">%df" % len(nodes), *[v for _, _, v in nodes]))
        path = sample_path(name)
        subprocess.run(["gdal_translate", "-q", "-of", "BYN", "-ot", kind, "-scale", "0", "1", "0",
                        str(factor), "-a_scale", str(1.0 / factor), "-a_nodata", "none", source,
                        path], check=True)
        for extra in (source, path + ".aux.xml"):
            if os.path.exists(extra):
                os.remove(extra)
        # The values as stored: integers of 1/factor metres.
        write_expected(sample_path(name.replace(".byn", ".expected")),
                       [(x, y, None if (r, c) in BYN_NODATA else round(v * factor) / factor)
                        for (x, y, v), (r, c) in zip(nodes, ((r, c) for r in range(rows)
                                                             for c in range(columns)))])


SURFER_CUT = (-80.0, -5.0, 17, 13, 0.25, 0.25)
SURFER_BLANKS = {(0, 16), (9, 4)}
SURFER_SAMPLES = (("egm96_surfer.grd", "GSAG"), ("egm96_surfer6.grd", "GSBG"),
                  ("egm96_surfer7.grd", "GS7BG"))


def make_surfer(egm):
    if shutil.which("gdal_translate") is None:
        print("gdal_translate not found (apt-get install gdal-bin): the Surfer samples not made")
        return
    west, south, columns, rows, dx, dy = SURFER_CUT
    nodes = cut(egm, SURFER_CUT, SURFER_BLANKS, 1.70141e38)
    source = sample_path("egm96_surfer_source.gtx")
    with open(source, "wb") as f:
        f.write(struct.pack(">4d2i", south, west, dy, dx, rows, columns))
        f.write(struct.pack(">%df" % len(nodes), *[v for _, _, v in nodes]))
    for name, driver in SURFER_SAMPLES:
        path = sample_path(name)
        subprocess.run(["gdal_translate", "-q", "-of", driver, "-a_nodata", "none", source, path],
                       check=True)
        if os.path.exists(path + ".aux.xml"):
            os.remove(path + ".aux.xml")
        write_expected(sample_path(name.replace(".grd", ".expected")),
                       [(x, y, None if v >= 1.70141e38 else v) for x, y, v in nodes])
    os.remove(source)


def main():
    egm = Egm96()
    make_isg20_dms(egm)
    make_isg20_deg(egm)
    make_isg10(egm)
    make_gtx()
    make_esri(egm)
    make_esri_centre(egm)
    make_ngs(egm)
    make_byn(egm)
    make_surfer(egm)


if __name__ == "__main__":
    main()
