#include "ad_panel.h"

#include <QCoreApplication>
#include <QMargins>
#include <QPalette>

#ifdef NELOCLOCK_HAVE_WEBENGINE
#include "silent_web_page.h"

#include <QWebEngineProfile>
#include <QWebEngineView>
#endif

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// How far the view reaches beyond the panel, in pixels at 96 dpi: 130 twips
// left, 300 top, 375 right and 480 bottom (15 twips to the pixel), enough to
// hide a page's border and both scroll bars.
constexpr QMargins kHiddenEdges(9, 20, 25, 32);

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

bool sandboxDisabled()
{
    // The same switches Qt WebEngine itself honours. A value of "0" is not
    // trusted to mean "off", so it counts as the sandbox being on.
    const QString disable = qEnvironmentVariable("QTWEBENGINE_DISABLE_SANDBOX");
    if (!disable.isEmpty() && disable != QStringLiteral("0"))
        return true;
    const QString noSandbox = QStringLiteral("--no-sandbox");
    if (qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").split(u' ', Qt::SkipEmptyParts).contains(noSandbox))
        return true;
    return QCoreApplication::instance() != nullptr && QCoreApplication::arguments().contains(noSandbox);
}

} // namespace

void PrepareAdPanel()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool WebViewAllowed(bool runningAsRoot, bool sandboxDisabled)
{
    return !runningAsRoot || sandboxDisabled;
}

bool AdPanelWebAllowedHere()
{
#ifdef NELOCLOCK_HAVE_WEBENGINE
    return WebViewAllowed(runningAsRoot(), sandboxDisabled());
#else
    return false;
#endif
}

QUrl AdAddressToUrl(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.contains(QStringLiteral("://")))
        return QUrl(trimmed);
    return QUrl(QStringLiteral("http://") + trimmed);
}

AdPanel::AdPanel(QWidget* parent)
    : AdPanel(AdPanelWebAllowedHere(), parent)
{
}

AdPanel::AdPanel(bool webAllowed, QWidget* parent)
    : QWidget(parent)
#ifdef NELOCLOCK_HAVE_WEBENGINE
    , m_webAllowed(webAllowed)
#else
    , m_webAllowed(false)
#endif
{
#ifndef NELOCLOCK_HAVE_WEBENGINE
    Q_UNUSED(webAllowed)
#endif
    // The panel hides the alarm list beneath it, with or without a page.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

AdPanel::~AdPanel()
{
    // A profile must outlive every page that uses it; children would be
    // deleted in creation order, the profile first.
    delete m_view;
    m_view = nullptr;
}

bool AdPanel::webAvailable() const
{
    return m_webAllowed;
}

void AdPanel::navigate(const QString& address)
{
#ifdef NELOCLOCK_HAVE_WEBENGINE
    if (!m_webAllowed)
        return;
    if (m_view == nullptr)
        createView();
    static_cast<QWebEngineView*>(m_view)->load(AdAddressToUrl(address));
#else
    Q_UNUSED(address)
#endif
}

void AdPanel::createView()
{
#ifdef NELOCLOCK_HAVE_WEBENGINE
    // Off the record: an advertisement leaves no cookies or cache on disk.
    auto* profile = new QWebEngineProfile(this);
    auto* view = new QWebEngineView(this);
    view->setObjectName(QStringLiteral("Web"));
    view->setPage(new SilentWebPage(profile, view));
    // The context menu leads to "save page" and "view source", which open
    // windows and dialogs of their own.
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setGeometry(rect().marginsAdded(kHiddenEdges));
    view->show();
    m_view = view;
#endif
}

void AdPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_view != nullptr)
        m_view->setGeometry(rect().marginsAdded(kHiddenEdges));
}
