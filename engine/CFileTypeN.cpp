#include "engine/CFileTypeN.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "engine/BoundedFile.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace lumora {

namespace {

// Four-character code as it reads from the file (little-endian 32-bit).
constexpr std::uint32_t Fcc(const char (&s)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24);
}

constexpr std::uint32_t Fcc(char a, char b, char c, char d) {
  const char s[5] = {a, b, c, d, 0};
  return Fcc(s);
}

constexpr std::uint32_t kRiff = Fcc("RIFF");
constexpr std::uint32_t kAvi = Fcc("AVI ");
constexpr std::uint32_t kList = Fcc("LIST");
constexpr std::uint32_t kJunk = Fcc("JUNK");
constexpr std::uint32_t kHdrl = Fcc("hdrl");
constexpr std::uint32_t kMovi = Fcc("movi");
constexpr std::uint32_t kIdx1 = Fcc("idx1");
constexpr std::uint32_t kAvih = Fcc("avih");
constexpr std::uint32_t kStrl = Fcc("strl");
constexpr std::uint32_t kStrh = Fcc("strh");
constexpr std::uint32_t kTxts = Fcc("txts");
constexpr std::uint32_t kVids = Fcc("vids");
constexpr std::uint32_t kAuds = Fcc("auds");
constexpr std::uint32_t kXblb = Fcc("XBLB");
constexpr std::uint32_t kAdas = Fcc("ADAS");
constexpr std::uint32_t kUser = Fcc("USER");
constexpr std::uint32_t kSecondUserId = Fcc("09tx");
constexpr std::uint32_t kSequentialIds[] = {Fcc("09tx"), Fcc("03tx"), Fcc("04tx")};

// The head of the file searched for the RIFF signature.
constexpr std::size_t kHeadSize = 200;
constexpr std::size_t kSignatureSearch = 184;

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct FormatContextCloser {
  void operator()(AVFormatContext* ctx) const { avformat_close_input(&ctx); }
};

struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// A recording cut by a power loss never got the lengths in its headers
// written: the end of the stream's last packet tells how long it is. Only
// that stream's packets are read; the others are skipped unread.
double MeasureStreamSeconds(AVFormatContext* ctx, int index) {
  for (unsigned i = 0; i < ctx->nb_streams; ++i) {
    ctx->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
  }
  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  if (!packet) return 0.0;
  std::int64_t end = 0;
  while (av_read_frame(ctx, packet.get()) >= 0) {
    if (packet->stream_index == index) {
      const std::int64_t at = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      // A packet without a duration lasts one tick (one frame in an AVI).
      if (at != AV_NOPTS_VALUE)
        end = std::max(end, at + std::max<std::int64_t>(packet->duration, 1));
    }
    av_packet_unref(packet.get());
  }
  const AVRational tb = ctx->streams[index]->time_base;
  return tb.den != 0 ? static_cast<double>(end) * tb.num / tb.den : 0.0;
}

}  // namespace

CFileTypeN::~CFileTypeN() { ClearUserData(); }

int CFileTypeN::SetFileName(const std::filesystem::path& path) {
  m_path = path;
  m_strFileName = path.string();
  return 1;
}

int CFileTypeN::Open() {
  // Only the file protocol: a recording name must never be taken for a URL.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string url = "file:" + m_strFileName;
  AVFormatContext* raw = nullptr;
  const int opened = avformat_open_input(&raw, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return -1;
  std::unique_ptr<AVFormatContext, FormatContextCloser> ctx(raw);
#if LIBAVFORMAT_VERSION_MAJOR < 60
  av_format_inject_global_side_data(ctx.get());
#endif

  int videoCount = 0;
  int firstVideo = -1;
  double seconds = 0.0;
  for (unsigned i = 0; i < ctx->nb_streams; ++i) {
    const AVStream* st = ctx->streams[i];
    if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
    if (videoCount++ > 0) continue;
    firstVideo = static_cast<int>(i);
    if (st->duration > 0 && st->time_base.den != 0) {
      seconds = static_cast<double>(st->duration) *
                (static_cast<double>(st->time_base.num) / st->time_base.den);
    } else if (ctx->duration != AV_NOPTS_VALUE) {
      // The stream does not know its length; the container's length is the
      // best answer (an unknown length must not turn into a huge negative).
      seconds = static_cast<double>(ctx->duration) / AV_TIME_BASE;
    }
  }
  if (videoCount > 0 && seconds <= 0.0) seconds = MeasureStreamSeconds(ctx.get(), firstVideo);
  if (videoCount > 0) {
    m_nVideoStreamCount = videoCount;
    m_nDuration = static_cast<std::int64_t>(std::trunc(seconds * 1000.0));
  }
  m_dwChunkIds.fill(0);
  return videoCount > 0 ? 0 : -1;
}

int CFileTypeN::ScanUserData() {
  BoundedFile file;
  if (!file.Open(m_path)) return 0;
  m_nCursor = 0;
  m_dwUserDataId = 0;
  m_nIndexBase = 0;
  m_nStampCount = 0;
  m_nCollectedBytes = 0;
  m_nUserStreams = 0;
  m_strhKept.fill(0);
  m_dwChunkIds.fill(0);

  std::array<std::uint8_t, kHeadSize> head{};
  if (file.ReadSome(head.data(), head.size()) < head.size()) return 0;
  std::size_t riffPos = kSignatureSearch;
  for (std::size_t i = 0; i < kSignatureSearch; ++i) {
    if (Le32(&head[i]) == kRiff && Le32(&head[i + 8]) == kAvi) {
      riffPos = i;
      break;
    }
  }
  if (riffPos == kSignatureSearch) return 0;

  WalkState state;
  const bool indexed = WalkRiff(file, riffPos, state);
  if (!indexed && state.bHeaderListSeen && state.bMoviSeen) {
    ScanMoviSequentially(file, state.nMoviListPos);
  }
  return indexed ? 1 : 0;
}

// Walks the top-level chunks of the RIFF form; true when an "idx1" index was
// reached and read.
bool CFileTypeN::WalkRiff(BoundedFile& file, std::uint64_t riffPos, WalkState& state) {
  file.Seek(riffPos);
  std::uint32_t riffId = 0, riffSize = 0, formType = 0;
  if (!file.ReadU32(riffId) || !file.ReadU32(riffSize) || !file.ReadU32(formType)) return false;
  // The RIFF size counts from just after its own size field, so a form that
  // does not start at offset 0 still ends where its size says. A recording
  // cut by a power loss never got its size written: 0, or a size past the
  // end of the file, means the form runs to the end of the file.
  std::uint64_t riffEnd = riffPos + 8 + riffSize;
  if (riffSize == 0 || riffEnd > file.Size()) riffEnd = file.Size();

  for (;;) {
    const std::uint64_t headerPos = file.Tell();
    std::uint32_t id = 0, size = 0;
    // A chunk header that cannot be read in full ends the walk.
    if (!file.ReadU32(id) || !file.ReadU32(size)) return false;
    const std::uint64_t pos = file.Tell();
    if (id == kList) {
      std::uint32_t listType = 0;
      if (!file.ReadU32(listType)) return false;
      if (listType == kHdrl) {
        if (!ParseHeaderList(file, pos + 4 + size)) return false;
        state.bHeaderListSeen = true;
      } else if (listType == kMovi) {
        state.bMoviSeen = true;
        state.nMoviListPos = headerPos;
        if (Le32(&m_strhKept[4]) == kXblb) m_nIndexBase = pos;
      }
    } else if (id != kJunk) {
      if (id != kIdx1) return false;
      ReadIndex(file, size);
      return true;
    }
    const std::uint64_t next = pos + size;
    if (next <= headerPos || next >= riffEnd) return false;
    file.Seek(next);
  }
}

// Reads the stream headers of LIST "hdrl"; true when a user-data stream was
// selected.
bool CFileTypeN::ParseHeaderList(BoundedFile& file, std::uint64_t end) {
  std::size_t streamNumber = 0;
  for (;;) {
    const std::uint64_t headerPos = file.Tell();
    std::uint32_t id = 0, size = 0;
    if (!file.ReadU32(id) || !file.ReadU32(size)) break;
    const std::uint64_t pos = file.Tell();
    if (id == kList) {
      std::uint32_t listType = 0;
      if (!file.ReadU32(listType)) break;
      if (listType == kStrl) {
        std::uint32_t chunkId = 0, chunkSize = 0;
        if (!file.ReadU32(chunkId) || !file.ReadU32(chunkSize)) break;
        if (chunkId == kStrh) {
          // Only the fixed 48-byte part is used; a shorter header reads as
          // zeros past its end, a longer one is not copied beyond 48 bytes.
          std::array<std::uint8_t, kStreamHeaderSize> header{};
          const std::size_t want = std::min<std::size_t>(chunkSize, header.size());
          if (!file.ReadExact(header.data(), want)) break;
          ClassifyStream(header, streamNumber);
          ++streamNumber;
        }
      }
    } else if (id != kAvih) {
      break;
    }
    const std::uint64_t next = pos + size;
    if (next <= headerPos || next >= end) break;
    file.Seek(next);
  }
  return m_dwUserDataId != 0;
}

void CFileTypeN::ClassifyStream(const std::array<std::uint8_t, kStreamHeaderSize>& header,
                                std::size_t streamNumber) {
  const std::uint32_t type = Le32(&header[0]);
  const std::uint32_t handler = Le32(&header[4]);
  const char digit = static_cast<char>('0' + streamNumber);
  std::uint32_t id = 0;
  if (type == kTxts && (handler == kXblb || handler == kAdas)) {
    id = Fcc('0', digit, 't', 'x');
    m_dwUserDataId = id;
    m_strhKept = header;
  } else if (type == kTxts && handler == kUser) {
    // The camera writes its user data into the second "USER" stream.
    m_strhKept = header;
    if (++m_nUserStreams == 2) {
      id = kSecondUserId;
      m_dwUserDataId = id;
    } else {
      id = Fcc('0', digit, 't', 'x');
    }
  } else if (type == kVids) {
    id = Fcc('0', digit, 'd', 'c');
  } else if (type == kAuds) {
    id = Fcc('0', digit, 'w', 'b');
  }
  // Streams past the table's end keep no id.
  if (streamNumber < m_dwChunkIds.size()) m_dwChunkIds[streamNumber] = id;
}

void CFileTypeN::ReadIndex(BoundedFile& file, std::uint32_t size) {
  // The index can hold no more entries than the file has bytes for.
  const std::uint64_t available = std::min<std::uint64_t>(size, file.Remaining());
  const std::size_t entries = static_cast<std::size_t>(available / 16);
  std::vector<std::uint8_t> index(entries * 16);
  const std::size_t got = file.ReadSome(index.data(), index.size());
  const std::size_t usable = got / 16;
  for (std::size_t e = 0; e < usable; ++e) {
    const std::uint8_t* entry = &index[e * 16];
    if (m_dwUserDataId == 0 || Le32(entry) != m_dwUserDataId) continue;
    const std::uint32_t offset = Le32(entry + 8);
    const std::uint32_t length = Le32(entry + 12);
    const std::uint32_t cts = NextTimeStamp();
    // A record whose bytes lie past the end of the file is dropped; its time
    // slot stays used so later records keep their times.
    const std::uint64_t at = m_nIndexBase + offset + 8;
    if (at > file.Size() || length > file.Size() - at) continue;
    if (!CanHold(length, file)) break;
    _TAG_USER_DATA record;
    record.data.resize(length);
    if (!file.ReadAt(at, record.data.data(), length)) continue;
    record.length = length;
    record.cts = cts;
    m_nCollectedBytes += length;
    m_arrUserData.push_back(std::move(record));
  }
}

// Reads the user-data chunks of a "movi" list one after another; used when
// the file has no index (a recording cut short). Collected are the chunks of
// the stream the header list selected, whatever its number, and the ids the
// camera uses for its text streams.
void CFileTypeN::ScanMoviSequentially(BoundedFile& file, std::uint64_t listPos) {
  file.Seek(listPos);
  std::uint32_t id = 0, size = 0, listType = 0;
  if (!file.ReadU32(id) || !file.ReadU32(size) || !file.ReadU32(listType)) return;
  if (id != kList || listType != kMovi) return;
  // A list size of 0 (never written) or past the end of the file means the
  // list runs to the end of the file.
  const std::uint64_t bodyStart = listPos + 8;
  std::int64_t remaining = size;
  if (size == 0 || bodyStart + size > file.Size()) {
    remaining = static_cast<std::int64_t>(file.Size() - std::min(file.Size(), bodyStart));
  }
  while (remaining >= 1) {
    std::uint32_t chunkId = 0, chunkSize = 0;
    if (!file.ReadU32(chunkId) || !file.ReadU32(chunkSize)) return;
    const std::uint64_t padded = static_cast<std::uint64_t>(chunkSize) + (chunkSize & 1u);
    if (!IsInChunkIdTable(chunkId)) return;
    // A chunk cut off by the end of the file ends the scan without a record.
    if (padded > file.Remaining()) return;
    const bool wanted = chunkId == m_dwUserDataId ||
                        std::find(std::begin(kSequentialIds), std::end(kSequentialIds), chunkId) !=
                            std::end(kSequentialIds);
    if (wanted) {
      if (!CanHold(padded, file)) return;
      _TAG_USER_DATA record;
      record.data.resize(static_cast<std::size_t>(padded));
      if (!file.ReadExact(record.data.data(), record.data.size())) return;
      record.length = static_cast<std::uint32_t>(padded);
      record.cts = NextTimeStamp();
      m_nCollectedBytes += padded;
      m_arrUserData.push_back(std::move(record));
    } else {
      file.Seek(file.Tell() + padded);
    }
    remaining -= static_cast<std::int64_t>(8 + padded);
  }
}

bool CFileTypeN::IsInChunkIdTable(std::uint32_t id) const {
  for (const std::uint32_t entry : m_dwChunkIds) {
    if (entry == 0) return false;
    if (entry == id) return true;
  }
  return false;
}

std::uint32_t CFileTypeN::NextTimeStamp() {
  const std::uint64_t k = m_nStampCount++;
  const std::uint64_t scale = Le32(&m_strhKept[20]);
  const std::uint64_t rate = Le32(&m_strhKept[24]);
  // A zero rate gives no time base; every record then sits at 0 ms.
  if (rate == 0) return 0;
  return static_cast<std::uint32_t>((k * scale * 1000u) / rate);
}

bool CFileTypeN::CanHold(std::uint64_t length, const BoundedFile& file) const {
  return m_nCollectedBytes + length <= file.Size();
}

void CFileTypeN::ClearUserData() {
  m_arrUserData.clear();
  m_arrUserData.shrink_to_fit();
}

std::int32_t CFileTypeN::GetNextUserData(std::uint8_t* buffer, std::uint32_t* length,
                                         std::uint32_t* cts) {
  if (m_arrUserData.empty() || length == nullptr || cts == nullptr) return kE_FAIL;
  if (m_nCursor < 0 || static_cast<std::size_t>(m_nCursor) >= m_arrUserData.size()) {
    return kNoMoreRecords;
  }
  const _TAG_USER_DATA& record = m_arrUserData[static_cast<std::size_t>(m_nCursor++)];
  // No buffer counts as an offer of zero bytes.
  const std::uint32_t offered = buffer != nullptr ? *length : 0;
  if (offered < record.length) {
    *length = record.length - offered;
    return kE_FAIL;
  }
  if (record.length > 0) std::memcpy(buffer, record.data.data(), record.length);
  *length = record.length;
  *cts = record.cts;
  return kS_OK;
}

int CFileTypeN::GetUserDataCount() { return static_cast<int>(m_arrUserData.size()); }

std::uint32_t CFileTypeN::GetLargestUserDataLength() const {
  std::uint32_t largest = 0;
  for (const auto& record : m_arrUserData) largest = std::max(largest, record.length);
  return largest;
}

}  // namespace lumora
