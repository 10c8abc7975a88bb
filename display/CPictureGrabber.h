#pragma once
// One picture of a recording at full resolution as 8-bit RGB: the picture of
// a video channel at a given time, decoded with FFmpeg from the key frame
// before it. The picture is the one `ffmpeg -ss T -i FILE -frames:v 1` gives:
// the first whose time from the start of the file is not before T, converted
// with the colour matrix and range the stream declares.

#include <filesystem>
#include <string>

#include "display/PngWriter.h"
#include "engine/FFmpegHandles.h"

namespace lumora {

class CPictureGrabber {
 public:
  // False (and `error` set) when the file cannot be read as a recording.
  bool Open(const std::filesystem::path& path, std::string* error);
  // Video channels: 0 front, 1 rear.
  int ChannelCount() const { return static_cast<int>(videoStreams_.size()); }
  // Seconds; 0 when unknown.
  double Duration() const;
  // False (and `error` set) for a channel the file lacks, a time outside the
  // recording or a picture that cannot be decoded.
  bool Grab(int channel, double seconds, RgbPicture* out, std::string* error);

 private:
  static bool ToRgb(const AVFrame* frame, RgbPicture* out);

  FormatContextPtr format_;
  std::vector<int> videoStreams_;
};

}  // namespace lumora
