#include "platform/qt/MessageBox.h"

#include <QMessageBox>

namespace lumora {
namespace {

IMessageBoxHandler* g_handler = nullptr;

QMessageBox::StandardButtons ButtonsFor(int buttons) {
  switch (buttons) {
    case kMbOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case kMbYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconFor(int icon) {
  switch (icon) {
    case kMbIconError: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconWarning: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

int AnswerFor(int button) {
  switch (button) {
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    case QMessageBox::Cancel: return kIdCancel;
    default: return kIdOk;
  }
}

int DefaultAnswer(int buttons) {
  switch (buttons) {
    case kMbYesNo:
    case kMbYesNoCancel: return kIdYes;
    default: return kIdOk;
  }
}

}  // namespace

int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, int buttons,
                   int icon) {
  MessageBoxRequest request{text, caption, buttons, icon};
  if (g_handler) return g_handler->Show(parent, request);
  QMessageBox box(IconFor(icon), caption, text, ButtonsFor(buttons), parent);
  return AnswerFor(box.exec());
}

IMessageBoxHandler* SetMessageBoxHandler(IMessageBoxHandler* handler) {
  IMessageBoxHandler* old = g_handler;
  g_handler = handler;
  return old;
}

MessageBoxRecorder::MessageBoxRecorder() { previous_ = SetMessageBoxHandler(this); }

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHandler(previous_); }

int MessageBoxRecorder::Show(QWidget*, const MessageBoxRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return DefaultAnswer(request.buttons);
  int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace lumora
