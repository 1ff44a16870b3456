#include "model_picture.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <array>
#include <cmath>

namespace hextant::ui {
namespace {

// Viridis at eleven even steps, from 0 to 1; colours between are blended linearly.
constexpr std::array<QRgb, 11> kViridis{0x440154, 0x482475, 0x414487, 0x355f8d, 0x2a788e, 0x21918c,
                                        0x22a884, 0x44bf70, 0x7ad151, 0xbddf26, 0xfde725};

QRgb Viridis(double t) {
  t = std::clamp(std::isfinite(t) ? t : 0.5, 0.0, 1.0) * (kViridis.size() - 1);
  const auto i = std::min(static_cast<std::size_t>(t), kViridis.size() - 2);
  const double f = t - static_cast<double>(i);
  const QColor a(kViridis[i]), b(kViridis[i + 1]);
  const auto mix = [f](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
  return qRgba(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()), 255);
}

QString Metres(double value) {
  return QString::number(value, 'f', 3) + " m";
}

QString Extent(const hdm::ModelRaster& r) {
  if (r.geographical) {
    return QString("lon %1..%2°, lat %3..%4°")
        .arg(r.west, 0, 'f', 3)
        .arg(r.east, 0, 'f', 3)
        .arg(r.south, 0, 'f', 3)
        .arg(r.north, 0, 'f', 3);
  }
  return QString("E %1..%2 m, N %3..%4 m")
      .arg(r.west, 0, 'f', 1)
      .arg(r.east, 0, 'f', 1)
      .arg(r.south, 0, 'f', 1)
      .arg(r.north, 0, 'f', 1);
}

}  // namespace

int LegendHeight(int width) {
  return width >= 240 ? 44 : 30;
}

QImage RenderModelPicture(const hdm::ModelRaster& raster) {
  const int w = raster.width, legend = LegendHeight(w);
  QImage image(w, raster.height + legend, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const double span = raster.maximum - raster.minimum;
  for (int y = 0; y < raster.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const float* values = raster.values.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      if (!std::isnan(values[x])) {
        line[x] = Viridis(span > 0 ? (values[x] - raster.minimum) / span : 0.5);
      }
    }
  }
  QPainter painter(&image);
  const QRect box(0, raster.height, w, legend);
  painter.fillRect(box, Qt::white);
  const int margin = 4, bar = 8;
  for (int x = margin; x < w - margin; ++x) {
    painter.setPen(QColor::fromRgba(Viridis(static_cast<double>(x - margin) / (w - 2 * margin))));
    painter.drawLine(x, raster.height + margin, x, raster.height + margin + bar);
  }
  QFont font = painter.font();
  font.setPixelSize(w >= 240 ? 11 : 9);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const int textTop = raster.height + margin + bar + 1;
  const QRect range(margin, textTop, w - 2 * margin, legend - margin - bar - 1);
  if (std::isfinite(raster.minimum)) {
    painter.drawText(range, Qt::AlignLeft | Qt::AlignTop, Metres(raster.minimum));
    painter.drawText(range, Qt::AlignRight | Qt::AlignTop, Metres(raster.maximum));
  } else {
    painter.drawText(range, Qt::AlignHCenter | Qt::AlignTop, "no node has a value");
  }
  painter.drawText(range, Qt::AlignHCenter | Qt::AlignBottom, Extent(raster));
  painter.end();
  return image;
}

QImage ModelPicture(const std::string& path, int width, int maxHeight, std::string& error) {
  const auto reader = hdm::HdmFileReader::Open(path, error);
  if (!reader) {
    return {};
  }
  if (!reader->Header().IsRegular()) {
    error = path + ": is not a regular grid";
    return {};
  }
  return ModelPicture(*reader, width, maxHeight, error);
}

QImage ModelPicture(hdm::HdmNodes& nodes, int width, int maxHeight, std::string& error) {
  hdm::ModelRaster raster;
  if (!hdm::SampleRaster(nodes, width, maxHeight, raster, error)) {
    return {};
  }
  return RenderModelPicture(raster);
}

}  // namespace hextant::ui
