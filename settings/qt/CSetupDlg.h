#pragma once
// The settings dialog of older cameras (Korean captions, modeless): frame
// rate, picture, recording and event-detection choices written whole to the
// 508-byte setup.cfg at the card root.

#include <QDialog>

#include <array>
#include <cstdint>
#include <filesystem>

#include "settings/LegacySetupRecord.h"

class QRadioButton;
class QSlider;

namespace lumora {

// The radio choices, kept for the whole program run (0 until a radio of the
// group was clicked).
struct LegacyRadioChoices {
  std::uint32_t frameRate = 0;       // 1 variable, 2 fixed 15, 3 fixed 30
  std::uint32_t voiceRecording = 0;  // 1 on, 2 off
  std::uint32_t parkingQuality = 0;  // 1 high, 2 low
  std::uint32_t eventDetection = 0;  // 1 impact, 2 motion
};
LegacyRadioChoices& HeldLegacyRadioChoices();

class CSetupDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CSetupDlg(QWidget* parent = nullptr);

  // The drive the main window opened; Save and Reset write there.
  void SetCardRoot(const std::filesystem::path& cardRoot) { cardRoot_ = cardRoot; }
  // Shows the dialog centred on its owner (or the screen).
  void ShowCentred();

  // The values Save would write now: held radios and the sliders.
  LegacySetupValues CurrentValues() const;
  void Save();
  void Reset();
  // Whether the last Save or Reset wrote the file. When it did not, the
  // user is told (string 840) and the old file is unchanged.
  bool LastWriteOk() const { return lastWriteOk_; }

 private:
  void TellIfNotWritten();
  QSlider* MakeSlider(const char* name, int maximum, int initial);
  QRadioButton* MakeRadio(const QString& text, const char* name,
                          std::uint32_t LegacyRadioChoices::*field, std::uint32_t value);

  std::filesystem::path cardRoot_;
  QSlider* qualitySlider_;
  QSlider* brightnessSlider_;
  QSlider* contrastSlider_;
  QSlider* sharpnessSlider_;
  QSlider* impactSlider_;
  QSlider* motionSlider_;
  bool lastWriteOk_ = false;
};

}  // namespace lumora
