/*
 * hdmfile: writes an HDM geoid model file in four calls.
 *
 * The calls are made in this order, each with the full path of the model file:
 *   WriteHeaderFileHDM, WriteBodyFileHDM, WriteCoordTypeFileHDM, WritePtsFileHDM.
 * No handle passes between the calls: the first three gather the model's sections in the
 * library, under the path they are given, and write nothing to disk. WritePtsFileHDM writes the
 * whole model into a new, uniquely named staging file in the model's folder, syncs it, reads it
 * back to check it, and renames it over PATH; so a model appears under its name only when it is
 * complete, and a file that stood at PATH before survives every failure unchanged. The byte
 * layout is described in docs/hdm-format.md.
 *
 * Strings are null-terminated 8-bit text and are never modified; a path is UTF-8 (on Windows
 * opened as its wide UTF-16 form, on POSIX the file system's bytes as they are). Every call
 * returns HDM_OK (0) on success and one of the HDM_E_* codes otherwise.
 */
#ifndef HDMFILE_H
#define HDMFILE_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(HDMFILE_BUILDING)
#define HDMFILE_API __declspec(dllexport)
#else
#define HDMFILE_API __declspec(dllimport)
#endif
#else
#define HDMFILE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. */
#define HDM_OK 0
#define HDM_E_ARGUMENT 1 /* a null pointer, or a value outside its documented range */
#define HDM_E_IO 2       /* the model could not be created, written, synced, checked or renamed */
#define HDM_E_SEQUENCE 3 /* an earlier section is missing or was written out of order */
#define HDM_E_INCONSISTENT                                                                \
  4                   /* coordinate or point values out of range, or disagreeing with the \
                         sections written before them */
#define HDM_E_RANGE 5 /* a separation does not fit 16 bits at the chosen resolution */

/* Body flag bits: the coordinate type (1 geographical, 2 grid) plus at most one interpolation
 * bit and the local-side bit. */
#define HDM_FLAG_LOCAL_SIDE 0x08
#define HDM_FLAG_INTERPOLATION_4 0x10
#define HDM_FLAG_INTERPOLATION_16 0x20
#define HDM_FLAG_INTERPOLATION_9 0x40

/* Starts a new model for `path`, forgetting any earlier unfinished one for the same path. */
HDMFILE_API int16_t WriteHeaderFileHDM(const char* path);

/* Appends the body section: `bodyFlags` (see the HDM_FLAG_* bits) and the node count `n` (>= 1). */
HDMFILE_API int16_t WriteBodyFileHDM(const char* path, int16_t bodyFlags, int32_t n);

/* Appends the coordinate section. Coordinates and spacings are in radians for `coordinateType` 1
 * (geographical) and in metres for 2 (grid); X is easting or longitude, Y northing or latitude.
 * `resolutionCode` 1 stores separations in millimetres, 2 in centimetres, relative to
 * `separationOffset` (metres). `rows` is the number of grid rows, `n` the node count (equal to the
 * body's), `ellipsoidName` at most 255 bytes, `semiMajorAxis` in metres, `flattening` as 1/f⁻¹. */
HDMFILE_API int16_t WriteCoordTypeFileHDM(const char* path, int16_t coordinateType,
                                          int16_t resolutionCode, double firstX, double firstY,
                                          double lastX, double lastY, double spacingX,
                                          double spacingY, double separationOffset, int32_t rows,
                                          int32_t n, const char* ellipsoidName,
                                          double semiMajorAxis, double flattening);

/* Writes the separations of the sorted point list and commits the model to `path`.
 * `pointList` is a dense block of 4 × (n + 1) doubles, node 0 first and unused; each node holds
 * X, Y, Separation (metres) and NullFlag (-1.0 for a node without value, else 0.0). A node whose
 * NullFlag is not 0.0 or whose Separation is 32767.0 is stored as a node without value.
 * Returns HDM_OK only when the complete model is at `path`. On failure the file that stood at
 * `path` before is left as it was, and the result is the first failure of the four calls (a call
 * that failed earlier makes this one fail with the same code); after HDM_E_IO, errno holds the
 * system's reason (ENOSPC for a full disk, EFBIG for a file-size limit, EACCES, ...). */
HDMFILE_API int16_t WritePtsFileHDM(const char* path, const double* pointList, int32_t n,
                                    double separationOffset);

#ifdef __cplusplus
}
#endif

#endif /* HDMFILE_H */
