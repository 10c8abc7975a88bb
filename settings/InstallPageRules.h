#pragma once
// Value rules of the INSTALL page: vehicle presets, camera height, vehicle
// width and device position.

#include <array>
#include <cstdint>

#include "settings/SetupData.h"

namespace lumora {

// One "Vehicle Type :" radio, in the page's radio order.
struct VehiclePreset {
  const char* caption;  // English caption
  int captionStringId;
  std::uint16_t typeValue;  // usInstall_CarType
  double heightMetres;
  double widthMetres;
};

// Radio order: Seden, Compact Car, SUV, RV, Bus, Truck.
inline constexpr std::array<VehiclePreset, 6> kVehiclePresets = {{
    {"Seden", 632, 0, 1.3, 1.8},
    {"Compact Car", 633, 3, 1.3, 1.6},
    {"SUV", 634, 1, 1.5, 1.9},
    {"RV", 635, 4, 1.7, 1.9},
    {"Bus", 636, 2, 1.6, 2.5},
    {"Truck", 637, 5, 2.5, 2.5},
}};

// Choosing radio `radioIndex` (0..5): stores the type and the preset height
// and width in centimetres, truncate(m x 100). Out-of-range indexes are ignored.
void ApplyVehiclePreset(SetupData& data, int radioIndex);

// The radio whose type equals usInstall_CarType; any other value selects 0.
int VehicleRadioIndex(std::uint16_t carType);

// "Camera Height :" (1..4 m) and "Vehicle Width :" (1..3 m) edits: the metres
// are clamped, then stored as truncate((m x 100 + 5) / 10) x 10 centimetres.
std::uint16_t CameraHeightFromMetres(double metres);
std::uint16_t VehicleWidthFromMetres(double metres);
// The edits show the stored centimetres / 100.
double CentimetresToMetres(std::uint16_t centimetres);

// "Attached Position :" offset edit in centimetres: clamped to 0..20 and
// stored as truncate(cm x 10); shown as value / 10.
std::int16_t DevicePositionFromCentimetres(double centimetres);
double DevicePositionCentimetres(std::int16_t stored);

// "Vehicle Pulse :" stores the typed integer as is (low 16 bits).
std::uint16_t VehiclePulseFromTyped(long typed);

}  // namespace lumora
