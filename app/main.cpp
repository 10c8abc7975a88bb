// lumora-viewer: plays the camera's recordings with their driving data.
#include "app/CSamplePlayerApp.h"

int main(int argc, char** argv) {
  lumora::CSamplePlayerApp app;
  return app.Run(argc, argv);
}
