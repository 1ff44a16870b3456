#pragma once

// The picture of a model: its separations as a colour map on the viridis scale (dark blue for the
// lowest, yellow for the highest), nodes without value transparent, and below the map a legend
// with the colour bar, the range in metres and the extent. Shared by hextant-inspect --picture
// and the results dialog. Drawing text needs a QGuiApplication.

#include <QImage>
#include <string>

#include "hdmfile/model_raster.h"

namespace hextant::ui {

/// Height in pixels of the legend below the map.
int LegendHeight(int width);

/// The picture of `raster`: raster.width × (raster.height + LegendHeight(raster.width)).
QImage RenderModelPicture(const hdm::ModelRaster& raster);

/// Draws the regular model of `nodes` `width` pixels wide, its map at most `maxHeight` high. A
/// null image, with `error`, when the nodes cannot be read.
QImage ModelPicture(hdm::HdmNodes& nodes, int width, int maxHeight, std::string& error);

/// Opens the model at `path` and draws it `width` pixels wide, its map at most `maxHeight`
/// high. A null image, with `error`, when the model cannot be read.
QImage ModelPicture(const std::string& path, int width, int maxHeight, std::string& error);

}  // namespace hextant::ui
