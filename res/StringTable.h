#pragma once
// Texts of the user interface by string id and language, loaded from the
// tables compiled into the program's resources (res/strings/<language>.txt).

#include <QHash>
#include <QString>

namespace lumora {

// String-table languages.
inline constexpr int kLangNeutral = 9;
inline constexpr int kLangGerman = 1031;
inline constexpr int kLangEnglish = 1033;
inline constexpr int kLangJapanese = 1041;
inline constexpr int kLangKorean = 1042;

// The camera's language code (0 Japanese, 1 English, 9 Korean; anything
// else counts as Japanese) as a string-table language.
int LanguageForCameraCode(int code);

class StringTable {
 public:
  // The table of the whole program.
  static StringTable& Instance();

  // Language used by Load(id). Unknown languages load English texts.
  void SetLanguage(int language) { language_ = language; }
  int Language() const { return language_; }

  // The text of `id` in the current language, falling back to English, then
  // to an empty string.
  QString Load(int id) const { return Load(id, language_); }
  QString Load(int id, int language) const;

  // Parses one table text: lines "id<TAB>text", '#' comments, escapes \n \t \\.
  static QHash<int, QString> Parse(const QString& text);

 private:
  StringTable();
  const QHash<int, QString>* TableFor(int language) const;

  int language_ = kLangJapanese;
  QHash<int, QHash<int, QString>> tables_;
};

}  // namespace lumora
