#include "res/StringTable.h"

#include <QFile>
#include <QStringList>

namespace lumora {

int LanguageForCameraCode(int code) {
  switch (code) {
    case 1: return kLangEnglish;
    case 9: return kLangKorean;
    default: return kLangJapanese;
  }
}

StringTable& StringTable::Instance() {
  static StringTable table;
  return table;
}

StringTable::StringTable() {
  for (int language : {kLangEnglish, kLangJapanese, kLangKorean, kLangGerman, kLangNeutral}) {
    QFile file(QStringLiteral(":/strings/%1.txt").arg(language));
    if (file.open(QIODevice::ReadOnly)) {
      tables_.insert(language, Parse(QString::fromUtf8(file.readAll())));
    }
  }
}

QHash<int, QString> StringTable::Parse(const QString& text) {
  QHash<int, QString> table;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (QString line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab <= 0) continue;
    bool ok = false;
    const int id = line.left(tab).trimmed().toInt(&ok);
    if (!ok) continue;
    QString value;
    const QString raw = line.mid(tab + 1);
    for (qsizetype i = 0; i < raw.size(); ++i) {
      const QChar c = raw[i];
      if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
        const QChar next = raw[++i];
        if (next == QLatin1Char('n')) value += QLatin1Char('\n');
        else if (next == QLatin1Char('t')) value += QLatin1Char('\t');
        else value += next;
      } else {
        value += c;
      }
    }
    if (!table.contains(id)) table.insert(id, value);
  }
  return table;
}

const QHash<int, QString>* StringTable::TableFor(int language) const {
  auto it = tables_.find(language);
  return it == tables_.end() ? nullptr : &it.value();
}

QString StringTable::Load(int id, int language) const {
  if (const QHash<int, QString>* table = TableFor(language)) {
    auto it = table->find(id);
    if (it != table->end()) return it.value();
  }
  if (const QHash<int, QString>* english = TableFor(kLangEnglish)) {
    auto it = english->find(id);
    if (it != english->end()) return it.value();
  }
  return QString();
}

}  // namespace lumora
