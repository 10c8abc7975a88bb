#pragma once
// The About box (template 487): the program's title line, the maker's web
// address, a logo button and OK.

#include <QDialog>
#include <QString>

namespace lumora {

class CAboutSoftwareDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 487;
  static constexpr const char* kProgram = "QX-41α Viewer";
  static constexpr const char* kVersion = "1.0.1";
  static constexpr const char* kWebAddress = "https://lumora-viewer.example.org";

  explicit CAboutSoftwareDlg(QWidget* parent);

  // "%s  v%s" with the program name and version.
  static QString TitleLine();
};

}  // namespace lumora
