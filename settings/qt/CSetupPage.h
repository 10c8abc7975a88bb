#pragma once
// Common base of the settings dialog's tab pages: a child widget that edits
// the dialog's settings record in place and speaks its own string-table
// language. Enter and Escape are swallowed so they neither close nor confirm.

#include <QList>
#include <QString>
#include <QWidget>

#include <initializer_list>

#include "settings/SetupData.h"

class QKeyEvent;
class QRadioButton;

namespace lumora {

class CSetupPage : public QWidget {
  Q_OBJECT

 public:
  explicit CSetupPage(QWidget* parent = nullptr);

  // The string-table language of the page's captions (1041, 1033, 1042).
  void SetLanguage(int stringLanguage) { language_ = stringLanguage; }
  int Language() const { return language_; }

  // Points the page at the record and sets every control from it, captions
  // included. Called at dialog start and each time the page's tab is chosen.
  void Load(SetupData* record);
  // Sets the control texts from the string table in the page language.
  virtual void LoadCaptions() = 0;

  SetupData* Record() const { return record_; }

 protected:
  virtual void LoadControls() = 0;
  QString Text(int id) const;
  void keyPressEvent(QKeyEvent* event) override;

  // Numbers typed into edits, read like the C library reads them: leading
  // blanks skipped, the longest leading number taken, 0 when there is none.
  static long EditInt(const QString& text);
  static double EditDouble(const QString& text);

  // A row widget holding `radios` (one exclusive group: the radios of one
  // parent exclude each other).
  static QWidget* RadioRow(QWidget* parent, std::initializer_list<QRadioButton*> radios);
  // Checks radio `index` of a group; any other index leaves none checked.
  static void CheckRadio(const QList<QRadioButton*>& radios, int index);

  SetupData* record_ = nullptr;

 private:
  int language_ = 1033;
};

// True for the keys the settings dialog and its pages swallow.
bool IsSwallowedDialogKey(int key);

}  // namespace lumora
