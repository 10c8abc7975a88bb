#include "display/CThumbnailSource.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "display/CDrawBitmap.h"
#include "engine/FFmpegHandles.h"

namespace lumora {

namespace {

bool IsStill(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".jpg";
}

}  // namespace

std::optional<Thumbnail> CThumbnailSource::Make(const std::filesystem::path& path, int boxWidth,
                                                int boxHeight, std::string* error,
                                                const std::atomic<bool>* cancel) {
  if (IsStill(path)) return FromStill(path, boxWidth, boxHeight, error);
  ThumbnailLimits limits;
  limits.cancel = cancel;
  return CThumbnailDecoder::FirstKeyFrame(path, boxWidth, boxHeight, error, limits);
}

std::optional<Thumbnail> CThumbnailSource::FromStill(const std::filesystem::path& path,
                                                     int boxWidth, int boxHeight,
                                                     std::string* error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxStillBytes) {
    if (error) *error = "the picture file cannot be read";
    return std::nullopt;
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (in.gcount() != static_cast<std::streamsize>(data.size())) {
    if (error) *error = "the picture file cannot be read";
    return std::nullopt;
  }
  std::string messages;
  CDrawBitmap bitmap;
  const long long copied = bitmap.LoadFromMemory(data.data(), data.size(), nullptr, 0, 0,
                                                 [&messages](const std::string& text) {
                                                   if (!messages.empty()) messages += "; ";
                                                   messages += text;
                                                 });
  if (copied < 0 || bitmap.Empty()) {
    if (error) *error = messages.empty() ? "the picture cannot be decoded" : messages;
    return std::nullopt;
  }
  // Bottom-up BGR rows padded to four bytes -> top-down RGB.
  Thumbnail full;
  full.width = bitmap.Width();
  full.height = bitmap.Height();
  full.rgb.resize(static_cast<std::size_t>(full.width) * full.height * 3);
  const std::size_t stride = (static_cast<std::size_t>(full.width) * 3 + 3) & ~std::size_t{3};
  const std::uint8_t* pixels = bitmap.Pixels();
  for (int y = 0; y < full.height; ++y) {
    const std::uint8_t* src = pixels + stride * static_cast<std::size_t>(full.height - 1 - y);
    std::uint8_t* dst = full.rgb.data() + static_cast<std::size_t>(y) * full.width * 3;
    for (int x = 0; x < full.width; ++x) {
      dst[x * 3 + 0] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  auto fitted = Fit(full, boxWidth, boxHeight);
  if (!fitted && error) *error = "the picture cannot be scaled";
  return fitted;
}

std::optional<Thumbnail> CThumbnailSource::Fit(const Thumbnail& source, int boxWidth,
                                               int boxHeight) {
  if (source.Empty() || boxWidth <= 0 || boxHeight <= 0 ||
      source.rgb.size() < static_cast<std::size_t>(source.width) * source.height * 3) {
    return std::nullopt;
  }
  Thumbnail out;
  CThumbnailDecoder::FitSize(source.width, source.height, boxWidth, boxHeight, &out.width,
                             &out.height);
  if (out.width == source.width && out.height == source.height) return source;
  SwsContextPtr sws(sws_getContext(source.width, source.height, AV_PIX_FMT_RGB24, out.width,
                                   out.height, AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr,
                                   nullptr));
  if (!sws) return std::nullopt;
  out.rgb.assign(static_cast<std::size_t>(out.width) * out.height * 3, 0);
  const std::uint8_t* srcPlanes[4] = {source.rgb.data(), nullptr, nullptr, nullptr};
  const int srcStrides[4] = {source.width * 3, 0, 0, 0};
  std::uint8_t* dstPlanes[4] = {out.rgb.data(), nullptr, nullptr, nullptr};
  const int dstStrides[4] = {out.width * 3, 0, 0, 0};
  if (sws_scale(sws.get(), srcPlanes, srcStrides, 0, source.height, dstPlanes, dstStrides) !=
      out.height) {
    return std::nullopt;
  }
  return out;
}

}  // namespace lumora
