#pragma once
// How large a captured screen area is printed: the area keeps its share of
// a reference screen (1024 x 768 for a window with its frame, the screen for
// the other areas) and its shape on the page; neither side exceeds the page.
namespace lumora {

struct PrintSize {
  double widthFactor = 0;
  double heightFactor = 0;
  int width = 0;  // printed size in printer pixels
  int height = 0;
};

class CPrintScale {
 public:
  enum Area { kScreen = 0, kWindow = 1, kClient = 2 };
  static constexpr int kWindowReferenceWidth = 1024;
  static constexpr int kWindowReferenceHeight = 768;

  static PrintSize Compute(int area, int areaWidth, int areaHeight, int screenWidth,
                           int screenHeight, int pageWidth, int pageHeight);
};

}  // namespace lumora
