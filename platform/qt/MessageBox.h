#pragma once
// Every message box of the program goes through ShowMessageBox so that tests
// can install a recorder that captures what would be shown and answers it.

#include <QString>

#include <deque>
#include <vector>

class QWidget;

namespace lumora {

// Button sets and answers keep the numbers of the Windows message box.
enum MessageBoxButtons { kMbOk = 0, kMbOkCancel = 1, kMbYesNoCancel = 3, kMbYesNo = 4 };
enum MessageBoxIcon { kMbIconNone = 0, kMbIconError = 0x10, kMbIconQuestion = 0x20,
                      kMbIconWarning = 0x30, kMbIconInformation = 0x40 };
enum MessageBoxAnswer { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

struct MessageBoxRequest {
  QString text;
  QString caption;
  int buttons = kMbOk;
  int icon = kMbIconNone;
};

class IMessageBoxHandler {
 public:
  virtual ~IMessageBoxHandler() = default;
  virtual int Show(QWidget* parent, const MessageBoxRequest& request) = 0;
};

// Shows the box (modal) and returns the answer (kIdOk, kIdYes, ...).
int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                   int buttons = kMbOk, int icon = kMbIconNone);

// Replaces the handler; null restores the real QMessageBox. Returns the old one.
IMessageBoxHandler* SetMessageBoxHandler(IMessageBoxHandler* handler);

// Test double: records every request and answers from a script (then with
// the default answer of the button set: OK, or the first button).
class MessageBoxRecorder : public IMessageBoxHandler {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder() override;
  int Show(QWidget* parent, const MessageBoxRequest& request) override;

  void QueueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<MessageBoxRequest>& Requests() const { return requests_; }
  void Clear() { requests_.clear(); }

 private:
  std::vector<MessageBoxRequest> requests_;
  std::deque<int> answers_;
  IMessageBoxHandler* previous_ = nullptr;
};

}  // namespace lumora
