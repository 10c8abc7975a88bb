#include "library/qt/CDitMode.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeWidget>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora {

namespace {

constexpr int kProductCaption = 710;

QTreeWidget* MakeList(QWidget* owner, int id, const QStringList& columns,
                      const std::vector<int>& widths, bool visible) {
  auto* list = new QTreeWidget(owner);
  list->setObjectName(QString::number(id));
  list->setRootIsDecorated(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHeaderLabels(columns);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    list->setColumnWidth(static_cast<int>(i), widths[i]);
    if (widths[i] == 0) list->setColumnHidden(static_cast<int>(i), true);
  }
  list->setVisible(visible);
  return list;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CDitMode::CDitMode(QWidget* owner, IDitReplayHost* window)
    : QObject(owner), owner_(owner), window_(window), replay_(this) {
  lists_[0] = MakeList(owner, kDriveListId,
                       {"No.", "Recorded Date", "Driving Distance", "Driving Time",
                        "Overspeed Time", "ImgFolderPath", "Path"},
                       {40, 150, 150, 160, 110, 0, 0}, false);
  lists_[1] = MakeList(owner, kPictureListId, {"Path", "HourSec"}, {}, false);
  lists_[2] = MakeList(owner, kPictureMinuteListId,
                       {"Path", "HourMin", "revd", "revd", "revd", "revd"}, {}, false);
  lists_[3] =
      MakeList(owner, kPointListId, {"Time", "Min", "Lat", "Lon", "Speed", "TTC"}, {}, false);
  connect(DriveList(), &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    ClickDrive(DriveList()->indexOfTopLevelItem(item));
  });
  connect(DriveList(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
    DoubleClickDrive(DriveList()->indexOfTopLevelItem(item));
  });
}

CDitMode::~CDitMode() = default;

void CDitMode::ReportInvalid() {
  const std::string message = drives_.InvalidMessage();
  drives_.ClearInvalid();
  if (message.empty()) return;
  ShowMessageBox(owner_, Q(message), StringTable::Instance().Load(kProductCaption));
}

void CDitMode::FillDriveList() {
  QTreeWidget* list = DriveList();
  const int selected = SelectedRow();
  list->clear();
  for (const DitDriveRow& r : drives_.Rows()) {
    auto* item = new QTreeWidgetItem({Q(r.m_strNo), Q(r.m_strDate), Q(r.m_strDistance),
                                      Q(r.m_strTime), Q(r.m_strOverspeed), Q(r.m_strImgFolder),
                                      QString::fromStdString(r.m_path.string())});
    list->addTopLevelItem(item);
  }
  if (list->topLevelItemCount() > 0) {
    SelectRow(selected >= 0 && selected < list->topLevelItemCount() ? selected : 0);
  }
}

void CDitMode::ScanCard(const std::filesystem::path& root) {
  drives_.Clear();
  drives_.ScanCard(root, limit_);
  FillDriveList();
  ReportInvalid();
}

void CDitMode::ClearDrives() {
  drives_.Clear();
  FillDriveList();
}

void CDitMode::AddOpenedFiles(const std::vector<std::filesystem::path>& files) {
  drives_.AddOpened(files, limit_);
  FillDriveList();
  if (DriveList()->topLevelItemCount() > 0) SelectRow(0);
  ReportInvalid();
}

void CDitMode::Open() {
  Stop();
  std::vector<std::filesystem::path> files;
  if (askFiles_) {
    files = askFiles_();
  } else {
    const QStringList names =
        QFileDialog::getOpenFileNames(owner_, QString(), "*.dit", "dit files (*.dit *.DIT)");
    for (const QString& n : names) files.emplace_back(n.toStdString());
  }
  if (!files.empty()) AddOpenedFiles(files);
}

int CDitMode::SelectedRow() const {
  const auto items = DriveList()->selectedItems();
  return items.isEmpty() ? -1 : DriveList()->indexOfTopLevelItem(items.front());
}

std::filesystem::path CDitMode::SelectedPath() const {
  const int row = SelectedRow();
  if (row < 0 || row >= static_cast<int>(drives_.Rows().size())) return {};
  return drives_.Rows()[static_cast<std::size_t>(row)].m_path;
}

void CDitMode::SelectRow(int row) {
  QTreeWidget* list = DriveList();
  QTreeWidgetItem* item = list->topLevelItem(row);
  if (!item) return;
  list->clearSelection();
  item->setSelected(true);
  list->setCurrentItem(item);
  list->scrollToItem(item);
}

void CDitMode::Enter() {
  replay_.EnterMode(SelectedPath());
  DriveList()->setVisible(true);
  FillPointAndPictureLists();
}

void CDitMode::Leave() {
  replay_.LeaveMode();
  DriveList()->setVisible(false);
}

void CDitMode::FillPointAndPictureLists() {
  PointList()->clear();
  for (const DitPoint& p : replay_.Points()) {
    QStringList cols;
    for (const std::string& c : CDitReplay::PointRow(p)) cols << Q(c);
    PointList()->addTopLevelItem(new QTreeWidgetItem(cols));
  }
  PictureList()->clear();
  PictureMinuteList()->clear();
  for (const DitPicture& pic : replay_.Pictures()) {
    const QString path = QString::fromStdString(pic.m_path.string());
    const QString minute = QString::number(pic.m_nHourSec);
    PictureList()->addTopLevelItem(new QTreeWidgetItem({path, minute}));
    PictureMinuteList()->addTopLevelItem(new QTreeWidgetItem({path, minute}));
  }
}

void CDitMode::ClickDrive(int row) {
  if (row < 0 || replay_.GetState() != CDitReplay::kStopped) return;
  SelectRow(row);
  if (replay_.SelectDrive(SelectedPath())) FillPointAndPictureLists();
}

void CDitMode::DoubleClickDrive(int row) {
  if (row < 0) return;
  SelectRow(row);
  replay_.Stop();
  Play();
}

void CDitMode::Play() {
  if (drives_.Rows().empty()) return;
  const bool fromStop = replay_.GetState() == CDitReplay::kStopped;
  replay_.Play(SelectedPath());
  if (fromStop) FillPointAndPictureLists();
}

void CDitMode::Stop() { replay_.Stop(SelectedPath()); }

void CDitMode::Previous() {
  const int row = SelectedRow();
  if (row <= 0) return;
  SelectRow(row - 1);
  replay_.Stop();
  Play();
}

void CDitMode::Next() {
  const int row = SelectedRow();
  if (row < 0 || row + 1 >= DriveList()->topLevelItemCount()) return;
  SelectRow(row + 1);
  replay_.Stop();
  Play();
}

void CDitMode::Speed() { replay_.CycleSpeed(); }
void CDitMode::Mark() { replay_.ToggleMarkers(); }
void CDitMode::Seek(int x, int left, int width) { replay_.Seek(x, left, width); }
void CDitMode::OnTimer() { replay_.Update(); }

void CDitMode::Setup() {
  Stop();
  if (!askLimit_) return;
  const int entered = askLimit_(limit_);
  if (entered < 0) return;
  ApplyLimit(entered);
}

void CDitMode::ApplyLimit(int limit) {
  limit_ = limit;
  drives_.Recompute(limit_);
  FillDriveList();
  window_->Redraw();
}

}  // namespace lumora
