#include "ad_web_view_plugin.h"

#include "silent_web_page.h"

#include <QLoggingCategory>
#include <QQuickWidget>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// The plugin is loaded apart from the program, so it names the desktop
// category itself.
Q_LOGGING_CATEGORY(lcDesktop, "neloclock.desktop")

} // namespace

void AdWebViewPlugin::prepareWindow(QWidget* parent)
{
    // An empty OpenGL child is enough for the window to be made able to
    // show OpenGL the first time; the view itself can come later.
    auto* anchor = new QQuickWidget(parent);
    anchor->setObjectName(QStringLiteral("WebGlAnchor"));
    anchor->setGeometry(0, 0, 0, 0);
}

QWidget* AdWebViewPlugin::createView(QWidget* parent)
{
    // Off the record: an advertisement leaves no cookies or cache on disk.
    auto* profile = new QWebEngineProfile(parent);
    auto* view = new QWebEngineView(parent);
    view->setObjectName(QStringLiteral("Web"));
    view->setPage(new SilentWebPage(profile, view));
    // The context menu leads to "save page" and "view source", which open
    // windows and dialogs of their own.
    view->setContextMenuPolicy(Qt::NoContextMenu);
    QObject::connect(view, &QWebEngineView::loadFinished, view, [view](bool ok) {
        if (!ok)
            qCWarning(lcDesktop) << "the advertisement page did not load:" << view->url();
    });
    return view;
}

void AdWebViewPlugin::load(QWidget* view, const QUrl& url)
{
    static_cast<QWebEngineView*>(view)->load(url);
}
