#!/usr/bin/env python3
"""Writes the GeoTIFF samples cut from EGM96 with GDAL, and the expected nodes of each. Every
sample starts as raw values written here and described by a small VRT (its georeferencing, band
descriptions, unit, scale, offset and no-value), which gdal_translate turns into the GeoTIFF:

egm96_proj.tif
    as PROJ publishes its grids: tiled (16 x 16), DEFLATE with the floating-point predictor,
    Float32, pixel-is-point, TYPE=VERTICAL_OFFSET_GEOGRAPHIC_TO_VERTICAL, band "geoid_undulation"
    in metres; the 15' EGM96 nodes over 8W-2E 49-54N (21 rows of 41), two nodes -32768, the
    no-value.
egm96_lzw_area.tif
    striped (4 rows a strip), LZW with the horizontal predictor, Float64, pixel-is-area (the nodes
    are the pixel centres): 3-7E 50.5-53.5N (13 rows of 17).
egm96_int16.tif
    Int16 in millimetres around 40 m (scale 0.001, offset 40), DEFLATE: 6-15E 47-55N (33 rows of
    37); two nodes -32768, the no-value.
egm96_bands_utm.tif
    two bands, pixel-interleaved, uncompressed, projected (UTM zone 32N, metres, 10 km apart from
    E 300000 N 5000000, 7 rows of 9): band 1 "geoid_undulation_uncertainty" (0.05 m everywhere),
    band 2 "geoid_undulation", the EGM96 nodes of 6-8E 45-46.5N taken as they come.

    apt-get install proj-data gdal-bin && python3 samples/make_geotiff_samples.py
"""
import os
import shutil
import struct
import subprocess
import tempfile

from egm96 import Egm96, sample_path, write_expected
from make_grid_samples import cut, float32

VRT_BAND = """  <VRTRasterBand dataType="{type}" band="{band}" subClass="VRTRawRasterBand">
    <Description>{description}</Description>
    <UnitType>metre</UnitType>{extra}
    <SourceFilename relativeToVRT="1">{raw}</SourceFilename>
    <ImageOffset>{offset}</ImageOffset>
    <PixelOffset>{pixel}</PixelOffset>
    <LineOffset>{line}</LineOffset>
    <ByteOrder>LSB</ByteOrder>
  </VRTRasterBand>
"""

WGS84 = "EPSG:4326"
UTM32 = "EPSG:32632"


def vrt(path, columns, rows, transform, srs, bands, metadata):
    """A VRT of `bands`: (type, format char, description, extra XML, values north row first)."""
    raw = path + ".raw"
    size = struct.calcsize("<" + bands[0][1])
    with open(raw, "wb") as f:
        for _, char, _, _, values in bands:
            f.write(struct.pack("<%d%s" % (len(values), char), *values))
    text = '<VRTDataset rasterXSize="%d" rasterYSize="%d">\n' % (columns, rows)
    text += "  <SRS>%s</SRS>\n  <GeoTransform>%s</GeoTransform>\n" % (
        srs, ", ".join("%.17g" % v for v in transform))
    text += "  <Metadata>%s</Metadata>\n" % "".join(
        '<MDI key="%s">%s</MDI>' % item for item in metadata)
    for i, (kind, _, description, extra, _) in enumerate(bands):
        text += VRT_BAND.format(type=kind, band=i + 1, description=description, extra=extra,
                                raw=os.path.basename(raw), offset=i * rows * columns * size,
                                pixel=size, line=size * columns)
    with open(path, "w") as f:
        f.write(text + "</VRTDataset>\n")


def north_first(nodes, columns):
    rows = [nodes[i:i + columns] for i in range(0, len(nodes), columns)]
    return [v for row in reversed(rows) for _, _, v in row]


def translate(source, name, options):
    path = sample_path(name)
    subprocess.run(["gdal_translate", "-q", "-of", "GTiff"] + options + [source, path], check=True)
    if os.path.exists(path + ".aux.xml"):
        os.remove(path + ".aux.xml")


def area_transform(west, north, dx, dy):
    """GDAL's transform of a raster whose pixel centres are the nodes."""
    return (west - dx / 2, dx, 0, north + dy / 2, 0, -dy)


def make_proj(egm, work):
    area = (-8.0, 49.0, 41, 21, 0.25, 0.25)
    west, south, columns, rows, dx, dy = area
    marked = {(0, 40), (12, 7)}
    nodes = cut(egm, area, marked, -32768.0)
    source = os.path.join(work, "proj.vrt")
    vrt(source, columns, rows, area_transform(west, south + (rows - 1) * dy, dx, dy), WGS84,
        [("Float32", "f", "geoid_undulation", "\n    <NoDataValue>-32768</NoDataValue>",
          north_first(nodes, columns))],
        [("TYPE", "VERTICAL_OFFSET_GEOGRAPHIC_TO_VERTICAL"), ("AREA_OR_POINT", "Point")])
    translate(source, "egm96_proj.tif", ["-co", "TILED=YES", "-co", "BLOCKXSIZE=16", "-co",
                                         "BLOCKYSIZE=16", "-co", "COMPRESS=DEFLATE", "-co",
                                         "PREDICTOR=3"])
    write_expected(sample_path("egm96_proj.expected"),
                   [(x, y, None if v == -32768.0 else v) for x, y, v in nodes])


def make_lzw_area(egm, work):
    area = (3.0, 50.5, 17, 13, 0.25, 0.25)
    west, south, columns, rows, dx, dy = area
    nodes = cut(egm, area, set(), None)
    source = os.path.join(work, "lzw.vrt")
    vrt(source, columns, rows, area_transform(west, south + (rows - 1) * dy, dx, dy), WGS84,
        [("Float64", "d", "geoid_undulation", "", north_first(nodes, columns))],
        [("AREA_OR_POINT", "Area")])
    translate(source, "egm96_lzw_area.tif", ["-co", "BLOCKYSIZE=4", "-co", "COMPRESS=LZW", "-co",
                                             "PREDICTOR=2"])
    write_expected(sample_path("egm96_lzw_area.expected"), nodes)


def make_int16(egm, work):
    area = (6.0, 47.0, 37, 33, 0.25, 0.25)
    west, south, columns, rows, dx, dy = area
    marked = {(0, 0), (20, 30)}
    nodes = cut(egm, area, marked, None)
    stored = [(x, y, -32768 if v is None else int(round((v - 40.0) * 1000))) for x, y, v in nodes]
    source = os.path.join(work, "int16.vrt")
    vrt(source, columns, rows, area_transform(west, south + (rows - 1) * dy, dx, dy), WGS84,
        [("Int16", "h", "geoid_undulation", "\n    <NoDataValue>-32768</NoDataValue>\n"
          "    <Offset>40</Offset>\n    <Scale>0.001</Scale>", north_first(stored, columns))],
        [("TYPE", "VERTICAL_OFFSET_GEOGRAPHIC_TO_VERTICAL")])
    translate(source, "egm96_int16.tif", ["-co", "COMPRESS=DEFLATE", "-co", "PREDICTOR=2"])
    write_expected(sample_path("egm96_int16.expected"),
                   [(x, y, None if v == -32768 else v * 0.001 + 40.0) for x, y, v in stored])


def make_bands_utm(egm, work):
    columns, rows, spacing, west, south = 9, 7, 10000.0, 300000.0, 5000000.0
    nodes = cut(egm, (6.0, 45.0, columns, rows, 0.25, 0.25), set(), None)
    values = north_first(nodes, columns)
    source = os.path.join(work, "bands.vrt")
    vrt(source, columns, rows,
        area_transform(west, south + (rows - 1) * spacing, spacing, spacing), UTM32,
        [("Float32", "f", "geoid_undulation_uncertainty", "", [0.05] * len(values)),
         ("Float32", "f", "geoid_undulation", "", values)],
        [("AREA_OR_POINT", "Area")])
    translate(source, "egm96_bands_utm.tif", ["-co", "INTERLEAVE=PIXEL"])
    write_expected(sample_path("egm96_bands_utm.expected"),
                   [(west + (i % columns) * spacing, south + (i // columns) * spacing, v)
                    for i, (_, _, v) in enumerate(nodes)])


def main():
    if shutil.which("gdal_translate") is None:
        print("gdal_translate not found (apt-get install gdal-bin): no GeoTIFF sample made")
        return
    egm = Egm96()
    with tempfile.TemporaryDirectory() as work:
        make_proj(egm, work)
        make_lzw_area(egm, work)
        make_int16(egm, work)
        make_bands_utm(egm, work)


if __name__ == "__main__":
    main()
