#include "data/qt/CExplorerMapViewWnd.h"

#include <QResizeEvent>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "data/ScriptCall.h"

namespace lumora {

CExplorerMapViewWnd::CExplorerMapViewWnd(QWidget* parent) : QWidget(parent) {
  m_pBrowser = new QWebEngineView(this);
  m_pBrowser->setContextMenuPolicy(Qt::NoContextMenu);
  m_pBrowser->page()->setBackgroundColor(QColor(0x1C, 0x21, 0x25));
  connect(m_pBrowser, &QWebEngineView::loadStarted, this, [this] { m_bLoaded = false; });
  connect(m_pBrowser, &QWebEngineView::loadFinished, this, [this](bool ok) {
    m_bLoaded = ok;
    m_bFailed = !ok;
    auto pending = std::move(m_pending);
    m_pending.clear();
    // Calls that waited for the page run now; a failed page drops them, as a
    // page without the functions would.
    if (ok) {
      for (auto& [script, done] : pending) Run(script, std::move(done));
    }
    emit PageLoaded(ok);
  });
}

CExplorerMapViewWnd::~CExplorerMapViewWnd() = default;

void CExplorerMapViewWnd::Navigate(const QUrl& url) {
  m_bLoaded = false;
  m_bFailed = false;
  m_pBrowser->load(url);
}

void CExplorerMapViewWnd::resizeEvent(QResizeEvent* event) {
  m_pBrowser->setGeometry(QRect(QPoint(0, 0), event->size()));
  QWidget::resizeEvent(event);
}

void CExplorerMapViewWnd::CallScript(const std::string& callText, ResultFn done) {
  const std::optional<ScriptCall> call = ScriptCallParser::Parse(callText);
  if (!call || call->name.empty()) return;
  m_callLog.push_back(callText);
  const QString script = QString::fromStdString(ScriptCallParser::ToJavaScript(*call));
  if (!m_bLoaded) {
    if (!m_bFailed) m_pending.emplace_back(script, std::move(done));
    return;
  }
  Run(script, std::move(done));
}

void CExplorerMapViewWnd::Run(const QString& script, ResultFn done) {
  m_pBrowser->page()->runJavaScript(script, [done = std::move(done)](const QVariant& result) {
    if (done) done(result.toString(), result.isValid() && !result.isNull());
  });
}

}  // namespace lumora
