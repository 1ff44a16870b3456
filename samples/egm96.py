"""EGM96 geoid heights from PROJ's 15-minute grid (Debian package proj-data).

The file is a NOAA GTX grid: a big-endian header of four doubles (south latitude, west longitude,
latitude step, longitude step, in degrees) and two int32 (rows, columns), then float32 rows from
south to north. Heights are interpolated bilinearly; longitudes wrap around the globe.
"""
import struct

GTX_PATH = "/usr/share/proj/egm96_15.gtx"


class Egm96:
    def __init__(self, path=GTX_PATH):
        with open(path, "rb") as f:
            data = f.read()
        self.lat0, self.lon0, self.dlat, self.dlon = struct.unpack(">4d", data[:32])
        self.rows, self.cols = struct.unpack(">2i", data[32:40])
        count = self.rows * self.cols
        self.values = struct.unpack(">%df" % count, data[40:40 + 4 * count])

    def node(self, row, col):
        return self.values[row * self.cols + col % self.cols]

    def height(self, lon, lat):
        """Geoid height in metres at (lon, lat) in degrees."""
        y = (lat - self.lat0) / self.dlat
        x = ((lon - self.lon0) % 360.0) / self.dlon
        row = min(int(y), self.rows - 2)
        col = int(x)
        fy, fx = y - row, x - col
        south = self.node(row, col) * (1 - fx) + self.node(row, col + 1) * fx
        north = self.node(row + 1, col) * (1 - fx) + self.node(row + 1, col + 1) * fx
        return south * (1 - fy) + north * fy


def write_expected(path, nodes):
    """Writes the nodes a model of the sample must hold, in the model's order (rows from south to
    north, west to east within a row), one "X Y SEPARATION" line each: degrees or metres, and
    "null" for a node without value."""
    with open(path, "w") as f:
        for x, y, n in nodes:
            f.write("%.10g %.10g %s\n" % (x, y, "null" if n is None else "%.4f" % n))


def sample_path(name):
    import os
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
