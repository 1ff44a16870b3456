#include "hdm_report_actions.h"

#if HEXTANT_PICTURE
#include <QBuffer>
#include <QGuiApplication>
#endif
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "hdmfile/grid_export.h"
#include "hdmfile/hdm_reader.h"
#include "platform/file_system.h"
#if HEXTANT_PICTURE
#include "ui/model_picture.h"
#endif
#include "hdmfile/point_query.h"
#include "hdmfile/staged_file.h"

namespace hextant {
namespace {

void Complain(const std::string& text) {
  std::fprintf(stderr, "hextant-inspect: %s\n", text.c_str());
}

// Answers every point of `options`, one `X Y N` line each; false when a line was broken or the
// model could not be read.
bool AnswerPoints(const InspectOptions& options, hdm::HdmNodes& nodes) {
  const hdm::HdmModel& header = nodes.Header();
  const hdm::Interpolation method = options.interpolation
                                        ? *hdm::InterpolationOfCount(*options.interpolation)
                                        : hdm::InterpolationOfFlags(header.bodyFlags);
  hdm::PointQuery query(nodes, method);
  bool ok = true, readable = true;
  const auto answer = [&](const TypedPoint& point) {
    std::optional<double> separation;
    if (!readable) {
      return;
    }
    if (!query.At({point.x, point.y}, separation)) {
      Complain(query.Error());
      ok = readable = false;
      return;
    }
    if (separation) {
      // To 0.1 mm whatever the storage unit: the interpolation is finer than the nodes.
      std::printf("%s %s %.4f\n", point.xText.c_str(), point.yText.c_str(), *separation);
    } else {
      std::printf("%s %s null\n", point.xText.c_str(), point.yText.c_str());
    }
  };
  for (const TypedPoint& point : options.at) {
    answer(point);
  }
  if (options.pointsFile) {
    const std::string& name = *options.pointsFile;
    std::ifstream file;
    if (name != "-") {
      file.open(PathFromText(name));
      if (!file) {
        Complain(name + ": cannot be opened");
        return false;
      }
    }
    std::istream& in = name == "-" ? std::cin : file;
    const std::string shown = name == "-" ? "standard input" : name;
    const auto broken = [&](std::int64_t line, const std::string& problem) {
      std::fflush(stdout);
      Complain(shown + ":" + std::to_string(line) + ": " + problem);
    };
    if (ReadPoints(in, answer, broken) > 0) {
      ok = false;
    }
    if (in.bad()) {
      Complain(shown + ": cannot be read");
      ok = false;
    }
  }
  return ok;
}

#if HEXTANT_PICTURE
// Writes the picture through a staging file: a PNG appears only when complete.
bool WritePicture(const InspectOptions& options, hdm::HdmNodes& nodes, int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // a command-line tool needs no display
  }
  // The toolkit's notes (a missing runtime folder, an offscreen plugin's limits) mean nothing to
  // the user of a command-line tool; its errors still reach stderr.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "hextant-inspect: %s\n", text.toLocal8Bit().constData());
    }
  });
  QGuiApplication application(argc, argv);
  std::string error;
  const QImage picture = ui::ModelPicture(nodes, options.width, 4 * options.width, error);
  if (picture.isNull()) {
    Complain(error);
    return false;
  }
  const std::string& path = options.picturePath;
  std::vector<char> png;
  {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
      Complain(path + ": the picture cannot be encoded as PNG");
      return false;
    }
    png.assign(bytes.begin(), bytes.end());
  }
  hdm::StagedFile file(PathFromText(path));
  if (!file.IsOpen() || !file.Write(png.data(), png.size()) || !file.Commit()) {
    Complain(path +
             ": cannot be written: " + std::strerror(file.Error() != 0 ? file.Error() : EIO));
    return false;
  }
  return true;
}
#else
// A build without Qt (the Windows command-line programs) draws no pictures.
bool WritePicture(const InspectOptions& options, hdm::HdmNodes&, int, char**) {
  Complain(options.picturePath + ": not written: this build of hextant-inspect draws no pictures");
  return false;
}
#endif

}  // namespace

// An output that is the model being read would destroy it.
bool IsTheModel(const std::string& output, const std::string& model) {
  std::error_code error;
  const bool same = std::filesystem::equivalent(PathFromText(output), PathFromText(model), error);
  if (same && !error) {
    Complain(output + ": not written: it is the model being read");
    return true;
  }
  return false;
}

// A file at an output's place is kept unless the user said to replace it.
bool IsKept(const std::string& output, bool overwrite) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(PathFromText(output), error);
  if (overwrite || !std::filesystem::exists(status)) {
    return false;
  }
  Complain(output + " already exists; give --overwrite to replace it");
  return true;
}

int RunInspectActions(const InspectOptions& options, int argc, char** argv) {
  if ((!options.exportPath.empty() && IsTheModel(options.exportPath, options.path)) ||
      (!options.picturePath.empty() && IsTheModel(options.picturePath, options.path))) {
    return 1;
  }
  // Every output is looked at, and named when kept, before anything is written.
  bool kept = !options.exportPath.empty() && IsKept(options.exportPath, options.overwrite);
  kept = (!options.picturePath.empty() && IsKept(options.picturePath, options.overwrite)) || kept;
  if (kept) {
    return 1;
  }
  std::string error;
  const auto reader = hdm::HdmFileReader::Open(options.path, error);
  if (!reader) {
    Complain(error);
    return 1;
  }
  const hdm::HdmModel& header = reader->Header();
  if (!header.IsRegular()) {
    Complain(options.path + ": is not a regular grid: " + std::to_string(header.nodes) +
             " nodes on " + std::to_string(header.rows) + " rows");
    return 1;
  }
  bool ok = true;
  if (options.HasQueries()) {
    ok = AnswerPoints(options, *reader);
  }
  if (!options.exportPath.empty()) {
    std::string problem;
    const auto format = hdm::ExportFormatNamed(options.exportFormat);
    if (!hdm::ExportModel(*reader, *format, options.exportPath, problem)) {
      Complain(problem);
      ok = false;
    }
  }
  if (!options.picturePath.empty() && !WritePicture(options, *reader, argc, argv)) {
    ok = false;
  }
  if (std::fflush(stdout) != 0) {
    ok = false;
  }
  return ok ? 0 : 1;
}

}  // namespace hextant
