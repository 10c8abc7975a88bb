#include "tools/mkcard/AviWriter.h"

#include <algorithm>
#include <cstring>

namespace lumora {
namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAviifKeyframe = 0x10;

uint32_t FourCc(const std::string& s) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) {
    const uint8_t c = i < s.size() ? static_cast<uint8_t>(s[i]) : (s.empty() ? 0 : ' ');
    v |= static_cast<uint32_t>(c) << (8 * i);
  }
  return v;
}

void Put16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutId(std::vector<uint8_t>* out, const std::string& id) { Put32(out, FourCc(id)); }

void Patch32(std::vector<uint8_t>* out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

AviWriter::~AviWriter() {
  if (file_) std::fclose(file_);
}

bool AviWriter::Open(const std::filesystem::path& file, std::vector<AviStream> streams,
                     uint32_t micro_sec_per_frame, uint32_t width, uint32_t height,
                     uint32_t junk_bytes, std::string* error) {
  if (junk_bytes > (1u << 20)) {
    if (error) *error = "the JUNK chunk may hold at most 1 MiB";
    return false;
  }
  if (streams.empty() || streams.size() > 16) {
    if (error) *error = "an AVI needs between 1 and 16 streams";
    return false;
  }
  streams_ = std::move(streams);
  chunk_counts_.assign(streams_.size(), 0);
  byte_counts_.assign(streams_.size(), 0);
  max_chunk_.assign(streams_.size(), 0);
  micro_sec_per_frame_ = micro_sec_per_frame;
  width_ = width;
  height_ = height;
  path_ = file;
  file_ = std::fopen(file.c_str(), "wb");
  if (!file_) {
    if (error) *error = "cannot create " + file.string();
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  std::vector<uint8_t> head;
  PutId(&head, "RIFF");
  Put32(&head, 0);  // patched in Finish
  PutId(&head, "AVI ");
  const std::vector<uint8_t> hdrl = BuildHeaderList();
  head.insert(head.end(), hdrl.begin(), hdrl.end());
  if (junk_bytes > 0) {
    const uint32_t even = junk_bytes + (junk_bytes & 1);
    PutId(&head, "JUNK");
    Put32(&head, even);
    head.resize(head.size() + even, 0);
  }
  movi_list_pos_ = head.size();
  PutId(&head, "LIST");
  Put32(&head, 0);  // patched in Finish
  PutId(&head, "movi");
  movi_type_pos_ = movi_list_pos_ + 8;
  if (!WriteBytes(head.data(), head.size())) {
    if (error) *error = "cannot write " + file.string();
    return false;
  }
  return true;
}

std::vector<uint8_t> AviWriter::BuildHeaderList() const {
  std::vector<uint8_t> h;
  PutId(&h, "LIST");
  Put32(&h, 0);
  PutId(&h, "hdrl");

  uint64_t total_bytes = 0;
  uint32_t max_chunk = 0;
  uint32_t frames = 0;
  for (size_t i = 0; i < streams_.size(); ++i) {
    total_bytes += byte_counts_[i];
    max_chunk = std::max(max_chunk, max_chunk_[i]);
    if (streams_[i].type == "vids" && frames == 0) frames = chunk_counts_[i];
  }
  const double seconds = frames * (micro_sec_per_frame_ / 1e6);
  const uint32_t bytes_per_sec =
      seconds > 0 ? static_cast<uint32_t>(std::min<double>(total_bytes / seconds, 0xFFFFFFFFu)) : 0;

  PutId(&h, "avih");
  Put32(&h, 56);
  Put32(&h, micro_sec_per_frame_);
  Put32(&h, bytes_per_sec);
  Put32(&h, 0);  // padding granularity
  Put32(&h, (has_index_ ? kAvifHasIndex : 0u) | kAvifIsInterleaved);
  Put32(&h, frames);
  Put32(&h, 0);  // initial frames
  Put32(&h, static_cast<uint32_t>(streams_.size()));
  Put32(&h, max_chunk + 8);
  Put32(&h, width_);
  Put32(&h, height_);
  for (int i = 0; i < 4; ++i) Put32(&h, 0);

  for (size_t i = 0; i < streams_.size(); ++i) {
    const AviStream& s = streams_[i];
    const size_t strl_at = h.size();
    PutId(&h, "LIST");
    Put32(&h, 0);
    PutId(&h, "strl");
    PutId(&h, "strh");
    Put32(&h, 56);
    PutId(&h, s.type);
    Put32(&h, s.handler.empty() ? 0 : FourCc(s.handler));
    Put32(&h, 0);  // flags
    Put16(&h, 0);  // priority
    Put16(&h, 0);  // language
    Put32(&h, 0);  // initial frames
    Put32(&h, s.scale);
    Put32(&h, s.rate);
    Put32(&h, 0);  // start
    const uint32_t length =
        s.sample_size ? static_cast<uint32_t>(byte_counts_[i] / s.sample_size) : chunk_counts_[i];
    Put32(&h, length);
    Put32(&h, max_chunk_[i]);
    Put32(&h, 0xFFFFFFFFu);  // quality: default
    Put32(&h, s.sample_size);
    Put16(&h, 0);
    Put16(&h, 0);
    Put16(&h, static_cast<uint16_t>(s.width));
    Put16(&h, static_cast<uint16_t>(s.height));
    if (!s.format.empty()) {
      PutId(&h, "strf");
      Put32(&h, static_cast<uint32_t>(s.format.size()));
      h.insert(h.end(), s.format.begin(), s.format.end());
      if (s.format.size() % 2) h.push_back(0);
    }
    Patch32(&h, strl_at + 4, static_cast<uint32_t>(h.size() - strl_at - 8));
  }
  Patch32(&h, 4, static_cast<uint32_t>(h.size() - 8));
  return h;
}

bool AviWriter::WriteBytes(const void* data, size_t size) {
  if (failed_ || !file_) return false;
  if (size && std::fwrite(data, 1, size, file_) != size) {
    failed_ = true;
    return false;
  }
  position_ += size;
  return true;
}

bool AviWriter::AddChunk(size_t stream, const uint8_t* data, size_t size, bool keyframe) {
  if (stream >= streams_.size() || size > 0x7FFFFFF0u) return false;
  const uint64_t at = position_;
  if (at > 0xFFFFFFF0u) {
    failed_ = true;  // AVI 1.0 offsets are 32-bit
    return false;
  }
  std::vector<uint8_t> head;
  PutId(&head, streams_[stream].chunk_id);
  Put32(&head, static_cast<uint32_t>(size));
  const uint8_t pad = 0;
  if (!WriteBytes(head.data(), head.size()) || !WriteBytes(data, size) ||
      (size % 2 && !WriteBytes(&pad, 1))) {
    return false;
  }
  index_.push_back({FourCc(streams_[stream].chunk_id), keyframe ? kAviifKeyframe : 0u,
                    static_cast<uint32_t>(at), static_cast<uint32_t>(size)});
  ++chunk_counts_[stream];
  byte_counts_[stream] += size;
  max_chunk_[stream] = std::max(max_chunk_[stream], static_cast<uint32_t>(size));
  return true;
}

bool AviWriter::Finish(bool with_index, bool relative_offsets, std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = what;
    if (file_) std::fclose(file_);
    file_ = nullptr;
    return false;
  };
  if (!file_ || failed_) return fail("writing the AVI data failed");
  const uint64_t movi_end = position_;
  has_index_ = with_index;
  if (with_index) {
    std::vector<uint8_t> idx;
    idx.reserve(8 + index_.size() * 16);
    PutId(&idx, "idx1");
    Put32(&idx, static_cast<uint32_t>(index_.size() * 16));
    for (const auto& e : index_) {
      Put32(&idx, e[0]);
      Put32(&idx, e[1]);
      Put32(&idx, relative_offsets ? static_cast<uint32_t>(e[2] - movi_type_pos_) : e[2]);
      Put32(&idx, e[3]);
    }
    if (!WriteBytes(idx.data(), idx.size())) return fail("writing the AVI index failed");
  }
  const uint64_t file_size = position_;
  if (file_size > 0xFFFFFFFFu) return fail("the AVI is larger than 4 GiB");
  // Final sizes and counts: RIFF size, the header list (same length as before)
  // and the movi list size.
  std::vector<uint8_t> size_field;
  Put32(&size_field, static_cast<uint32_t>(file_size - 8));
  const std::vector<uint8_t> hdrl = BuildHeaderList();
  std::vector<uint8_t> movi_size;
  Put32(&movi_size, static_cast<uint32_t>(movi_end - movi_list_pos_ - 8));
  bool ok = std::fseek(file_, 4, SEEK_SET) == 0 &&
            std::fwrite(size_field.data(), 1, 4, file_) == 4 &&
            std::fseek(file_, 12, SEEK_SET) == 0 &&
            std::fwrite(hdrl.data(), 1, hdrl.size(), file_) == hdrl.size() &&
            std::fseek(file_, static_cast<long>(movi_list_pos_ + 4), SEEK_SET) == 0 &&
            std::fwrite(movi_size.data(), 1, 4, file_) == 4;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (!ok) {
    if (error) *error = "finishing the AVI failed";
    return false;
  }
  return true;
}

bool AviWriter::CutOff(double fraction, uint64_t* length, std::string* error) {
  if (!file_ || failed_ || !(fraction > 0.0 && fraction < 1.0)) {
    if (error)
      *error = failed_ ? "writing the AVI data failed" : "the cut must lie inside the file";
    return false;
  }
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  const uint64_t keep = static_cast<uint64_t>(static_cast<double>(position_) * fraction);
  std::error_code ec;
  if (closed) std::filesystem::resize_file(path_, keep, ec);
  if (!closed || ec) {
    if (error) *error = "cutting the AVI failed";
    return false;
  }
  if (length) *length = keep;
  return true;
}

}  // namespace lumora
