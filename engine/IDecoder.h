#pragma once
// One camera channel of the open recording: demultiplexes and decodes its
// video stream (and, for channel 0, the audio stream) into two frame pools.

#include <filesystem>

namespace lumora {

class FramePool;

class IDecoder {
 public:
  // Operations in the order of their slots.
  virtual int Init(int channelIndex, const std::filesystem::path& path) {
    (void)channelIndex;
    (void)path;
    return -1;
  }
  virtual void Uninit() {}
  virtual int Open() { return -1; }
  virtual void Close() {}
  virtual double GetDuration() { return 0.0; }
  virtual int Start() { return -1; }
  virtual void Stop() {}
  virtual void Seek(double seconds) { (void)seconds; }
  virtual int IsSeeking() { return -1; }
  virtual void SetVolume(double gain) { (void)gain; }
  virtual ~IDecoder() = default;

  // What the player reads of a decoder between the slots above.
  virtual FramePool* VideoPool() { return nullptr; }
  virtual FramePool* AudioPool() { return nullptr; }
  virtual int VideoInputEnded() { return 1; }
  // 0 running, 2 every video packet decoded, -1 video closed.
  virtual int DecodeState() { return -1; }
  // -1 no audio, 0 sound still arriving, 1 sound input ended.
  virtual int AudioState() { return -1; }
  // Packets of sound read but not yet decoded.
  virtual int PendingAudioPackets() { return 0; }
};

}  // namespace lumora
