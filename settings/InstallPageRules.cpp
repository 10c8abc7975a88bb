#include "settings/InstallPageRules.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

std::uint16_t RoundedCentimetres(double metres, double lo, double hi) {
  double m = std::isfinite(metres) ? std::clamp(metres, lo, hi) : lo;
  return static_cast<std::uint16_t>(static_cast<int>((m * 100 + 5) / 10) * 10);
}

}  // namespace

void ApplyVehiclePreset(SetupData& data, int radioIndex) {
  if (radioIndex < 0 || radioIndex >= static_cast<int>(kVehiclePresets.size())) return;
  const VehiclePreset& p = kVehiclePresets[static_cast<std::size_t>(radioIndex)];
  data.usInstall_CarType = p.typeValue;
  data.usInstall_CamHeight = static_cast<std::uint16_t>(static_cast<int>(p.heightMetres * 100));
  data.usInstall_CarWidth = static_cast<std::uint16_t>(static_cast<int>(p.widthMetres * 100));
}

int VehicleRadioIndex(std::uint16_t carType) {
  for (std::size_t i = 0; i < kVehiclePresets.size(); ++i) {
    if (kVehiclePresets[i].typeValue == carType) return static_cast<int>(i);
  }
  return 0;
}

std::uint16_t CameraHeightFromMetres(double metres) { return RoundedCentimetres(metres, 1.0, 4.0); }

std::uint16_t VehicleWidthFromMetres(double metres) { return RoundedCentimetres(metres, 1.0, 3.0); }

double CentimetresToMetres(std::uint16_t centimetres) { return centimetres / 100.0; }

std::int16_t DevicePositionFromCentimetres(double centimetres) {
  double cm = std::isfinite(centimetres) ? std::clamp(centimetres, 0.0, 20.0) : 0.0;
  return static_cast<std::int16_t>(static_cast<int>(cm * 10));
}

double DevicePositionCentimetres(std::int16_t stored) { return stored / 10.0; }

std::uint16_t VehiclePulseFromTyped(long typed) { return static_cast<std::uint16_t>(typed); }

}  // namespace lumora
