#pragma once
// The driving-data track of the open recording: G-sensor samples with their
// driver-assistance words, the GPS fixes (in a CTextData), the heading table
// and the G-sensor curve resampled to 50 slots per second. The application
// keeps one; tests and tools make their own.

#include <cstdint>
#include <functional>
#include <vector>

#include "data/CTextData.h"
#include "data/TrackTables.h"

namespace lumora {

class CDrivingTrack {
 public:
  // Result codes of a record source (the container reader's GetNextUserData).
  static constexpr std::int32_t kRecordOk = 0;
  static constexpr std::int32_t kEndOfRecords = 38;
  // Size of the zero-filled buffer each record is drained into.
  static constexpr std::uint32_t kRecordBufferSize = 1024;
  // Bytes of a G-sensor payload that are decoded.
  static constexpr std::size_t kGSensorPayloadSize = 61;
  // Length of the heading vector between two fixes.
  static constexpr double kHeadingLength = 23.0;

  // (buffer, length in/out, cts out) -> 0, 38 (no record left) or an error.
  using NextRecordFn =
      std::function<std::int32_t(std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts)>;

  CDrivingTrack();

  // What opening a recording does: no G samples, empty fix and reading lists.
  // The heading index is kept; only the restart signal resets it.
  void BeginLoad();

  // Decodes one user-data payload ("M"/"A" G-sensor sample, "$..RMC" sentence,
  // anything else ignored). Bytes past `length` read as zero, as in the
  // loader's zero-filled buffer. Returns 0.
  int DecodeUserData(const std::uint8_t* payload, std::size_t length, std::uint32_t cts);

  // Recording duration in ms, used by ResampleGSensor.
  void SetDuration(std::int32_t durationMs) { m_nDuration = durationMs; }
  std::int32_t GetDuration() const { return m_nDuration; }

  // Rebuilds the resampled table from the samples and the duration. A duration
  // that needs more slots than the table holds is spread over the whole table.
  void ResampleGSensor();

  // The loader run on opening a recording: BeginLoad, then, when the record
  // count is between 1 and 17999, drains at most that many records until the
  // source reports the end or an error, decodes each and resamples. Returns
  // true when a G-sensor sample or a GPS fix was decoded.
  bool Load(int recordCount, const NextRecordFn& next);

  // Set by the data panel each time it has drawn; the next sentence restarts
  // the heading table at entry 0.
  void SetRestartSignal() { m_bRestart = true; }
  bool GetRestartSignal() const { return m_bRestart; }

  // Lookups by play position p and duration d, both in ms.
  std::uint32_t GetResampledSlot(std::int64_t p, std::int64_t d) const;
  // Index of the raw sample / assistance record; -1 when there is none.
  int GetSampleIndex(std::int64_t p, std::int64_t d) const;
  // First fix whose time stamp is at or after p; null when p is past the last.
  const CGPSData* FindFix(std::int64_t p) const;
  // Heading entry of the whole second p / 1000; null outside the table.
  const HeadingEntry* GetHeading(std::int64_t p) const;

  int GetGSampleCount() const { return m_nGSampleCount; }
  bool HasGSensor() const { return m_bHasGSensor; }
  // Row i of a table; null when i is outside the filled rows.
  const GSensorSample* GetSample(int i) const;
  const AdasRecord* GetAdas(int i) const;
  const GSensorSample* GetResampled(std::uint32_t slot) const;
  std::uint32_t GetSlotCount() const { return m_uSlotCount; }
  const HeadingEntry& GetHeadingEntry(std::size_t i) const { return m_heading.at(i); }

  CTextData& TextData() { return m_text; }
  const CTextData& TextData() const { return m_text; }

 private:
  void DecodeGSensor(const std::uint8_t* p);
  void DecodeSentence(const char* sentence, std::uint32_t cts);
  void UpdateHeading(const CGPSData& fix);

  CTextData m_text;
  std::vector<GSensorSample> m_samples;
  std::vector<AdasRecord> m_adas;
  std::vector<GSensorSample> m_resampled;
  std::vector<HeadingEntry> m_heading;
  int m_nGSampleCount = 0;
  std::uint32_t m_uSlotCount = 0;
  std::int32_t m_nDuration = 0;
  bool m_bHasGSensor = false;
  bool m_bRestart = false;
};

}  // namespace lumora
