#pragma once
// Hosts the embedded browser that shows the map page and runs script calls
// on it: "javascript:Name('a', 'b')" texts are taken apart and the page's
// function of that name gets the arguments as strings. Calls made while the
// page is still loading wait for it; a page without the function ignores
// the call.

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QWebEngineView;

namespace lumora {

class CExplorerMapViewWnd : public QWidget {
  Q_OBJECT

 public:
  using ResultFn = std::function<void(const QString& result, bool hasResult)>;

  explicit CExplorerMapViewWnd(QWidget* parent = nullptr);
  ~CExplorerMapViewWnd() override;

  void Navigate(const QUrl& url);
  bool IsPageLoaded() const { return m_bLoaded; }
  bool LoadFailed() const { return m_bFailed; }

  // Runs one call text; `done` receives the function's returned string.
  void CallScript(const std::string& callText, ResultFn done = {});
  // Every call text handed to CallScript that named a function, in order.
  const std::vector<std::string>& CallLog() const { return m_callLog; }

  QWebEngineView* Browser() const { return m_pBrowser; }

 signals:
  void PageLoaded(bool ok);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Run(const QString& script, ResultFn done);

  QWebEngineView* m_pBrowser = nullptr;
  bool m_bLoaded = false;
  bool m_bFailed = false;
  std::vector<std::pair<QString, ResultFn>> m_pending;
  std::vector<std::string> m_callLog;
};

}  // namespace lumora
