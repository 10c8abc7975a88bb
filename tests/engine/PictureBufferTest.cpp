// Pictures decoded into the shared picture pools are the same, byte for
// byte, as those of the library's own allocator, and the memory is reused.
#include <gtest/gtest.h>

#include "engine/FFmpegHandles.h"
#include "engine/PictureBufferPool.h"
#include "tests/engine/TestMedia.h"

namespace lumora {
namespace {

// Every visible byte of every picture of the first video stream, decoded
// with or without the shared pools.
std::vector<std::vector<std::uint8_t>> DecodeAll(const std::filesystem::path& file, bool pooled,
                                                 std::vector<const std::uint8_t*>* addresses) {
  std::vector<std::vector<std::uint8_t>> pictures;
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, file.c_str(), nullptr, nullptr) < 0) return pictures;
  FormatContextPtr format(raw);
  const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (stream < 0) return pictures;
  const AVCodecParameters* parameters = format->streams[stream]->codecpar;
  CodecContextPtr codec(avcodec_alloc_context3(avcodec_find_decoder(parameters->codec_id)));
  avcodec_parameters_to_context(codec.get(), parameters);
  if (pooled) codec->get_buffer2 = PictureBufferPool::GetBuffer;
  if (avcodec_open2(codec.get(), nullptr, nullptr) < 0) return pictures;
  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  std::vector<FramePtr> held;  // kept alive like the pictures waiting in a pool
  const auto take = [&] {
    while (avcodec_receive_frame(codec.get(), frame.get()) >= 0) {
      std::vector<std::uint8_t> bytes;
      for (int plane = 0; plane < 3; ++plane) {
        const int w = plane == 0 ? frame->width : (frame->width + 1) / 2;
        const int h = plane == 0 ? frame->height : (frame->height + 1) / 2;
        EXPECT_EQ(frame->linesize[plane] % 32, 0);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(frame->data[plane]) % 32, 0u);
        for (int y = 0; y < h; ++y)
          bytes.insert(bytes.end(), frame->data[plane] + y * frame->linesize[plane],
                       frame->data[plane] + y * frame->linesize[plane] + w);
      }
      pictures.push_back(std::move(bytes));
      if (addresses) addresses->push_back(frame->data[0]);
      FramePtr keep(av_frame_alloc());
      av_frame_move_ref(keep.get(), frame.get());
      held.push_back(std::move(keep));
      if (held.size() > 20) held.erase(held.begin());
    }
  };
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == stream && avcodec_send_packet(codec.get(), packet.get()) >= 0)
      take();
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(codec.get(), nullptr);
  take();
  return pictures;
}

TEST(PictureBuffers, PooledPicturesEqualTheLibrarysOwnAndTheMemoryIsReused) {
  const auto file = test::FrontRear();
  ASSERT_FALSE(file.empty());
  const auto plain = DecodeAll(file, false, nullptr);
  std::vector<const std::uint8_t*> first;
  const auto pooled = DecodeAll(file, true, &first);
  ASSERT_EQ(plain.size(), 75u);
  ASSERT_EQ(pooled.size(), plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(pooled[i], plain[i]) << i;
  // A second decoding of the same size (as when the next recording opens)
  // takes the buffers the first one gave back instead of new ones.
  ASSERT_GE(PictureBufferPool::PoolCount(), 1);
  const int pools = PictureBufferPool::PoolCount();
  std::vector<const std::uint8_t*> second;
  ASSERT_EQ(DecodeAll(file, true, &second), plain);
  EXPECT_EQ(PictureBufferPool::PoolCount(), pools);
  for (const auto* address : second)
    EXPECT_NE(std::find(first.begin(), first.end(), address), first.end());
}

}  // namespace
}  // namespace lumora
