#include "library/qt/CListDlg.h"

#include "res/SkinIds.h"
#include "ui/CSkinButton.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeWidget>

#include <thread>

namespace lumora {
namespace {

constexpr int kRowColumns = 4;
const QColor kListColour(0x33, 0x33, 0x33);

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CListDlg::CListDlg(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("CListDlg"));
  setAttribute(Qt::WA_AlwaysShowToolTips);
  // The owner's icon (the program's) also marks this window.
  if (parent) setWindowIcon(parent->windowIcon());
  resize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette window = palette();
  window.setColor(QPalette::Window, QColor(0x16, 0x18, 0x1c));
  setPalette(window);

  const std::vector<int> widths = {80, 80, 70, 0};
  visible_ = MakeList(kIdVisibleList, QRect(0, 48, 256, kHeight - 85), {}, widths);
  master_ = MakeList(kIdMasterList, QRect(5000, 5000, 272, 647), {}, widths);
  staging_ = MakeList(kIdStagingList, QRect(10000, 10000, 272, 647), {}, widths);
  second_ = MakeList(
      kIdSecondList, QRect(0, 36, 256, kHeight - 73),
      {QStringLiteral("No."), QStringLiteral("Recorded Date"), QStringLiteral("File Path")},
      {40, 190, 0});
  second_->hide();

  MakeButton(kIdClose, QString(), QRect(230, 0, 25, 25), kBmpListX, SkinButtonState::kPushButton);
  MakeButton(kIdContinuous, QStringLiteral("상시녹화"), QRect(5, kHeight - 25, 60, 15),
             kBmpCategory, SkinButtonState::kRadioButton);
  MakeButton(kIdEvent, QStringLiteral("이벤트녹화"), QRect(68, kHeight - 25, 60, 15), kBmpCategory,
             SkinButtonState::kRadioButton);
  MakeButton(kIdParking, QStringLiteral("모션녹화"), QRect(128, kHeight - 25, 60, 15), kBmpCategory,
             SkinButtonState::kRadioButton);
  MakeButton(kIdAll, QStringLiteral("All"), QRect(194, kHeight - 25, 60, 15), kBmpCategory,
             SkinButtonState::kRadioButton);
  MakeButton(kIdManual, QStringLiteral("수동녹화"), QRect(257, kHeight - 25, 60, 15), kBmpCategory,
             SkinButtonState::kPushButton)
      ->hide();
  MakeButton(kIdOrder, QStringLiteral("Ascending / Descending"), QRect(0, 36, 256, 12),
             kBmpOrderBar, SkinButtonState::kPushButton);
  UpdateCategoryLook();

  auto activate = [this](QTreeWidgetItem* item) {
    play_request_ = true;
    emit RowActivated(visible_->indexOfTopLevelItem(item));
  };
  connect(visible_, &QTreeWidget::itemClicked, this, activate);
  connect(visible_, &QTreeWidget::itemDoubleClicked, this, activate);
}

CListDlg::~CListDlg() = default;

QTreeWidget* CListDlg::MakeList(int id, const QRect& where, const QStringList& titles,
                                const std::vector<int>& widths) {
  auto* list = new QTreeWidget(this);
  list->setObjectName(QStringLiteral("list%1").arg(id));
  list->setColumnCount(titles.isEmpty() ? kRowColumns : static_cast<int>(titles.size()));
  if (titles.isEmpty()) {
    list->setHeaderHidden(true);
  } else {
    list->setHeaderLabels(titles);
  }
  for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
    list->setColumnWidth(column, widths[column]);
    // A width of 0 hides the column.
    list->setColumnHidden(column, widths[column] == 0);
  }
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->header()->setStretchLastSection(false);
  QPalette colours = list->palette();
  colours.setColor(QPalette::Base, kListColour);
  colours.setColor(QPalette::Window, kListColour);
  colours.setColor(QPalette::Text, Qt::white);
  // The selection stays visible when the list loses the focus.
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  list->setPalette(colours);
  list->setGeometry(where);
  return list;
}

CSkinButton* CListDlg::MakeButton(int id, const QString& caption, const QRect& where, int skin,
                                  int kind) {
  auto* button = new CSkinButton(this, id, kind);
  button->setObjectName(QStringLiteral("button%1").arg(id));
  button->SetSkin(skin);
  button->SetText(caption);
  button->SetTextColor(Qt::white);
  QFont font = button->font();
  font.setPixelSize(where.height() <= 15 ? 10 : 12);
  button->setFont(font);
  button->setGeometry(where);
  connect(button, &CSkinButton::Clicked, this, &CListDlg::OnButton);
  return button;
}

void CListDlg::OnButton(int id) {
  switch (id) {
    case kIdClose:
      hide_request_ = true;
      emit HideRequestSet();
      break;
    case kIdManual:
      manual_ = true;
      break;
    case kIdOrder:
      ToggleOrder();
      break;
    default:
      ShowCategory(id);
      break;
  }
}

void CListDlg::ShowCategory(int id) {
  switch (id) {
    case kIdContinuous:
    case kIdMainContinuous:
      list_.ShowOnly(true, false, false);
      break;
    case kIdEvent:
    case kIdMainEvent:
      list_.ShowOnly(false, true, false);
      break;
    case kIdParking:
    case kIdMainMotion:
      list_.ShowOnly(false, false, true);
      break;
    case kIdAll:
      list_.ShowOnly(true, true, true);
      break;
    case kIdMainManual:
      manual_ = true;
      return;
    default:
      return;
  }
  UpdateCategoryLook();
  Mirror();
}

void CListDlg::UpdateCategoryLook() {
  const ListFilter& f = list_.Filter();
  const int pressed = f.continuous && f.event && f.parking     ? kIdAll
                      : f.continuous && !f.event && !f.parking ? kIdContinuous
                      : !f.continuous && f.event && !f.parking ? kIdEvent
                      : !f.continuous && !f.event && f.parking ? kIdParking
                                                               : 0;
  for (int id : {kIdContinuous, kIdEvent, kIdParking, kIdAll}) {
    if (auto* button = findChild<CSkinButton*>(QStringLiteral("button%1").arg(id))) {
      if (id != pressed) button->SetCheck(false);
    }
  }
  if (auto* button = findChild<CSkinButton*>(QStringLiteral("button%1").arg(pressed))) {
    button->SetCheck(true);
  }
}

void CListDlg::Mirror() {
  auto fill = [](QTreeWidget* view, const std::vector<ListRow>& rows) {
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const ListRow& row : rows) {
      items << new QTreeWidgetItem(
          QStringList{Text(row.date), Text(row.time), Text(row.kind), Text(row.path)});
    }
    view->addTopLevelItems(items);
    view->setUpdatesEnabled(true);
  };
  fill(visible_, list_.Visible());
  fill(master_, list_.Master());
  fill(staging_, list_.Staging());
}

void CListDlg::Refill() {
  list_.Refill();
  Mirror();
}

void CListDlg::ScanCard(const std::filesystem::path& root) {
  // A scan already running fills the lists when it ends.
  if (scanning_) return;
  scanning_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int generation = ++scan_generation_;
  // The folder walk runs on a worker thread: a card with thousands of files,
  // slow to list through a card reader, would otherwise freeze the window.
  // Meanwhile this thread keeps serving its timers, repaints and drive
  // notifications; clicks and keys wait until the rows are in.
  CRecordingList scanned;
  scanned.Filter() = list_.Filter();
  scanned.SetOrder(list_.Order());
  QEventLoop wait;
  std::thread worker([&scanned, &wait, root] {
    scanned.ScanCard(root);
    QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
  });
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  scanning_ = false;
  QApplication::restoreOverrideCursor();
  // The card went away while it was read (ClearLists): its rows are stale.
  if (generation != scan_generation_) return;
  list_ = std::move(scanned);
  card_root_ = QString::fromStdString(root.string());
  Mirror();
  loaded_ = true;
  emit CardScanned(card_root_);
}

QString CListDlg::QtOpenFilter() {
  // "description|patterns|" becomes "description (patterns)", patterns blank-separated.
  const QStringList parts = QString::fromLatin1(kOpenFilter).split(QLatin1Char('|'));
  QString patterns = parts.value(1);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return parts.value(0) + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
}

int CListDlg::OpenFiles(const std::vector<std::filesystem::path>& paths) {
  const int added = list_.AddOpened(paths);
  Mirror();
  visible_->setFocus();
  SelectRow(0);
  loaded_ = true;
  if (!isVisible()) {
    if (QWidget* owner = parentWidget())
      ToggleBeside(owner->frameGeometry());
    else
      show();
  }
  return added;
}

void CListDlg::ToggleOrder() {
  const int mirrored = list_.ToggleOrder(SelectedRow());
  Mirror();
  if (mirrored >= 0) {
    SelectRow(mirrored);
    emit SelectionMoved(mirrored);
  }
  visible_->setFocus();
}

int CListDlg::RowCount() const { return visible_->topLevelItemCount(); }

int CListDlg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = visible_->selectedItems();
  if (selected.isEmpty()) return -1;
  return visible_->indexOfTopLevelItem(selected.front());
}

void CListDlg::SelectRow(int row) {
  visible_->clearSelection();
  QTreeWidgetItem* item = visible_->topLevelItem(row);
  if (!item) return;
  visible_->setCurrentItem(item);
  item->setSelected(true);
  visible_->scrollToItem(item);
}

QString CListDlg::RowText(int row, int column) const {
  const QTreeWidgetItem* item = visible_->topLevelItem(row);
  return item ? item->text(column) : QString();
}

QString CListDlg::RowPath(int row) const { return RowText(row, 3); }

QTreeWidget* CListDlg::List(int id) const {
  switch (id) {
    case kIdVisibleList:
      return visible_;
    case kIdMasterList:
      return master_;
    case kIdStagingList:
      return staging_;
    case kIdSecondList:
      return second_;
    default:
      return nullptr;
  }
}

bool CListDlg::TakePlayRequest() {
  const bool was = play_request_;
  play_request_ = false;
  return was;
}

bool CListDlg::TakeHideRequest() {
  const bool was = hide_request_;
  hide_request_ = false;
  return was;
}

bool CListDlg::ToggleBeside(const QRect& main_frame) {
  // Beside the main window where the screen has room, always inside the
  // screen's available area.
  QWidget* owner = parentWidget();
  QScreen* shown_on = owner && owner->screen() ? owner->screen() : screen();
  const QRect area = shown_on ? shown_on->availableGeometry() : QRect();
  resize(kWidth, kHeight);
  move(WindowPlacement::Beside(main_frame, QSize(kWidth, kHeight), area).topLeft());
  setVisible(!isVisible());
  return isVisible();
}

void CListDlg::ClearLists() {
  ++scan_generation_;  // a scan still running is dropped
  list_.Clear();
  Mirror();
}

void CListDlg::mousePressEvent(QMouseEvent* event) {
  // A press on the background drags the window, as its caption would.
  if (event->button() == Qt::LeftButton) {
    dragging_ = true;
    drag_offset_ = event->globalPosition().toPoint() - pos();
  }
  QDialog::mousePressEvent(event);
}

void CListDlg::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton))
    move(event->globalPosition().toPoint() - drag_offset_);
  QDialog::mouseMoveEvent(event);
}

void CListDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

void CListDlg::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape neither close nor confirm the modeless list window.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lumora
