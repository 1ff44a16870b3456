#include "grids/tiff_stream.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace hextant {

namespace {

// The largest block libtiff may allocate at once for one file: a strip or tile, a tag's values.
constexpr tmsize_t MaxTiffAllocation = tmsize_t{1} << 29;

// The name libtiff knows the file by, which it puts in some of its messages.
constexpr const char* ClientName = "TIFF";

char* FieldName(const char* name) {
  return const_cast<char*>(name);
}

// Counted arrays (uint32 count, pointer) for numbers; plain text for the ASCII tags.
const TIFFFieldInfo GeoTiffFields[] = {
    {TagModelPixelScale, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1,
     FieldName("ModelPixelScale")},
    {TagModelTiepoint, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1,
     FieldName("ModelTiepoint")},
    {TagModelTransformation, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1,
     FieldName("ModelTransformation")},
    {TagGeoKeyDirectory, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_SHORT, FIELD_CUSTOM, 1, 1,
     FieldName("GeoKeyDirectory")},
    {TagGeoDoubleParams, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1,
     FieldName("GeoDoubleParams")},
    {TagGeoAsciiParams, TIFF_VARIABLE, TIFF_VARIABLE, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
     FieldName("GeoAsciiParams")},
    {TagGdalMetadata, TIFF_VARIABLE, TIFF_VARIABLE, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
     FieldName("GDALMetadata")},
    {TagGdalNoData, TIFF_VARIABLE, TIFF_VARIABLE, TIFF_ASCII, FIELD_CUSTOM, 1, 0,
     FieldName("GDALNoDataValue")},
};

TIFFExtendProc previousExtender = nullptr;

void AddGeoTiffFields(TIFF* file) {
  TIFFMergeFieldInfo(file, GeoTiffFields, sizeof GeoTiffFields / sizeof GeoTiffFields[0]);
  if (previousExtender != nullptr) {
    previousExtender(file);
  }
}

// libtiff's settings are process-wide: set once, before the first file.
void SetUpLibtiff() {
  static std::once_flag once;
  std::call_once(once, [] {
    previousExtender = TIFFSetTagExtender(AddGeoTiffFields);
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
  });
}

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t bytes) {
  auto& source = static_cast<TiffStream::Source*>(handle)->stream;
  source.read(static_cast<char*>(buffer), static_cast<std::streamsize>(bytes));
  const auto got = static_cast<tmsize_t>(source.gcount());
  source.clear();
  return got;
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
  return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto& source = static_cast<TiffStream::Source*>(handle)->stream;
  source.clear();
  const auto way = whence == SEEK_SET   ? std::ios::beg
                   : whence == SEEK_CUR ? std::ios::cur
                                        : std::ios::end;
  source.seekg(static_cast<std::streamoff>(offset), way);
  const std::streamoff at = source.tellg();
  return at < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(at);
}

int CloseProc(thandle_t) {
  return 0;
}

toff_t SizeProc(thandle_t handle) {
  return static_cast<TiffStream::Source*>(handle)->size;
}

int MapProc(thandle_t, void**, toff_t*) {
  return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

}  // namespace

TiffStream::TiffStream(std::istream& source, std::uint64_t size) : source_{source, size} {}

TiffStream::~TiffStream() {
  if (tiff_ != nullptr) {
    TIFFClose(tiff_);
  }
}

int TiffStream::OnError(tiff*, void* self, const char*, const char* format, va_list args) {
  auto* stream = static_cast<TiffStream*>(self);
  if (stream->error_.empty()) {  // the first complaint is the cause, the rest its consequences
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    // libtiff names the function (left out) and often the file, by the client's name.
    const std::string_view said(text);
    const std::string_view name = ClientName;
    stream->error_ = said.starts_with(name) && said.substr(name.size()).starts_with(": ")
                         ? said.substr(name.size() + 2)
                         : said;
  }
  return 1;
}

Status TiffStream::Open() {
  SetUpLibtiff();
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, MaxTiffAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options, &TiffStream::OnError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
  source_.stream.clear();  // libtiff reads the header from where the stream stands
  source_.stream.seekg(0);
  // "m": no memory mapping, every byte comes through the stream.
  tiff_ = TIFFClientOpenExt(ClientName, "rm", &source_, ReadProc, WriteProc, SeekProc, CloseProc,
                            SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  if (tiff_ == nullptr) {
    return Status::Error(ErrorFileFormat,
                         "the TIFF cannot be opened: " + Error("its header is broken"));
  }
  return Status::Ok();
}

std::string TiffStream::Error(const std::string& fallback) const {
  return error_.empty() ? fallback : error_;
}

bool TiffStream::Doubles(std::uint32_t tag, std::vector<double>& values) const {
  std::uint32_t count = 0;
  double* data = nullptr;
  if (TIFFGetField(tiff_, tag, &count, &data) != 1 || data == nullptr) {
    return false;
  }
  values.assign(data, data + count);
  return true;
}

bool TiffStream::Shorts(std::uint32_t tag, std::vector<std::uint16_t>& values) const {
  std::uint32_t count = 0;
  std::uint16_t* data = nullptr;
  if (TIFFGetField(tiff_, tag, &count, &data) != 1 || data == nullptr) {
    return false;
  }
  values.assign(data, data + count);
  return true;
}

bool TiffStream::Text(std::uint32_t tag, std::string& text) const {
  const char* data = nullptr;
  if (TIFFGetField(tiff_, tag, &data) != 1 || data == nullptr) {
    return false;
  }
  text = data;
  return true;
}

}  // namespace hextant
