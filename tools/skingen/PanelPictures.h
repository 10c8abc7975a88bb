#pragma once
// Pictures of the data panel and the acceleration-graph window: the
// speedometer and heading faces (drawn around the needle and arrow geometry
// of the panel) and the window's background and plot area.

#include <vector>

#include "tools/skingen/SkinPainter.h"

namespace lumora::skingen {

void AppendPanelPictures(std::vector<SkinImage>& out);

}  // namespace lumora::skingen
