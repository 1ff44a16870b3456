/* Writes two small models through the C interface of the writer library alone:
 *   hdmfile_c_client GRID.HDM GEOGRAPHICAL.HDM
 * Exit status 0 when both were written. */
#include <math.h>
#include <stdio.h>

#include "hdmfile/hdmfile.h"

#define DEG (3.14159265358979323846 / 180.0)

static int write_grid(const char* path) {
  /* 2 rows × 3 columns, 10 m apart, separations in millimetres around 40 m; node 4 has no value. */
  const double seps[6] = {40.0, 40.001, 39.999, 32767.0, 41.5, 38.25};
  double points[4 * 7] = {0};
  for (int k = 0; k < 6; ++k) {
    points[4 * (k + 1) + 0] = 1000.0 + (k % 3) * 10.0;
    points[4 * (k + 1) + 1] = 2000.0 + (k / 3) * 10.0;
    points[4 * (k + 1) + 2] = seps[k];
    points[4 * (k + 1) + 3] = k == 3 ? -1.0 : 0.0;
  }
  WriteHeaderFileHDM(path);
  WriteBodyFileHDM(path, 2 + HDM_FLAG_INTERPOLATION_9 + HDM_FLAG_LOCAL_SIDE, 6);
  WriteCoordTypeFileHDM(path, 2, 1, 1000.0, 2000.0, 1020.0, 2010.0, 10.0, 10.0, 40.0, 2, 6,
                        "WGS 1984", 6378137.0, 1.0 / 298.25722356);
  return WritePtsFileHDM(path, points, 6, 40.0);
}

static int write_geographical(const char* path) {
  /* 2 × 2 nodes from 2°E 41°N, 0.25° apart, in centimetres around 49.5 m; node 3 has no value. */
  const double seps[4] = {49.5, 49.53, 32767.0, 49.46};
  const double x0 = 2.0 * DEG, y0 = 41.0 * DEG, step = 0.25 * DEG;
  double points[4 * 5] = {0};
  for (int k = 0; k < 4; ++k) {
    points[4 * (k + 1) + 0] = x0 + (k % 2) * step;
    points[4 * (k + 1) + 1] = y0 + (k / 2) * step;
    points[4 * (k + 1) + 2] = seps[k];
    points[4 * (k + 1) + 3] = k == 2 ? -1.0 : 0.0;
  }
  WriteHeaderFileHDM(path);
  WriteBodyFileHDM(path, 1 + HDM_FLAG_INTERPOLATION_4, 4);
  WriteCoordTypeFileHDM(path, 1, 2, x0, y0, x0 + step, y0 + step, step, step, 49.5, 2, 4,
                        "International (Hayford)", 6378388.0, 1.0 / 297.0);
  return WritePtsFileHDM(path, points, 4, 49.5);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: hdmfile_c_client GRID.HDM GEOGRAPHICAL.HDM\n");
    return 2;
  }
  int grid = write_grid(argv[1]);
  int geo = write_geographical(argv[2]);
  if (grid != HDM_OK || geo != HDM_OK) {
    fprintf(stderr, "write failed: grid %d, geographical %d\n", grid, geo);
    return 1;
  }
  return 0;
}
