#include "ad_panel.h"

#include "ad_web_view_factory.h"
#include "desktop_log.h"
#include "process_facts.h"
#include "program_layout.h"
#include "site_addresses.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QMargins>
#include <QPalette>
#include <QPluginLoader>

namespace {

// Whether this build has Qt WebEngine to show the page with.
constexpr bool kWebEngineBuilt = NELOCLOCK_WEBENGINE != 0;

// How far the view reaches beyond the panel, in pixels at 96 dpi: 130 twips
// left, 300 top, 375 right and 480 bottom (15 twips to the pixel), enough to
// hide a page's border and both scroll bars.
constexpr QMargins kHiddenEdges(9, 20, 25, 32);

bool sandboxDisabled(const QStringList& arguments)
{
    // The same switches Qt WebEngine itself honours. A value of "0" is not
    // trusted to mean "off", so it counts as the sandbox being on.
    const QString disable = qEnvironmentVariable("QTWEBENGINE_DISABLE_SANDBOX");
    if (!disable.isEmpty() && disable != QStringLiteral("0"))
        return true;
    const QString noSandbox = QStringLiteral("--no-sandbox");
    if (qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").split(u' ', Qt::SkipEmptyParts).contains(noSandbox))
        return true;
    return arguments.contains(noSandbox);
}

QStringList ApplicationArguments()
{
    return QCoreApplication::instance() != nullptr ? QCoreApplication::arguments() : QStringList();
}

} // namespace

void PrepareAdPanel(int argc, char** argv)
{
    if (!kWebEngineBuilt)
        return;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!WebViewAllowed(RunningAsRoot(), sandboxDisabled(arguments)))
        return;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Qt WebEngine prepares OpenGL and Qt Quick for itself while the
    // application object is being built; loaded any later it renders
    // nothing. So a process that may show a page loads it now.
    QLibrary webView(AdWebViewPluginPath(ProgramLayoutOf(ExecutableFolder(arguments)).pluginFolder));
    webView.load();
}

bool WebViewAllowed(bool runningAsRoot, bool sandboxDisabled)
{
    return !runningAsRoot || sandboxDisabled;
}

bool AdPanelWebAllowedHere()
{
    return kWebEngineBuilt && WebViewAllowed(RunningAsRoot(), sandboxDisabled(ApplicationArguments()));
}

QString AdWebViewPluginPath(const QString& folder)
{
    return QDir(folder).filePath(WebViewPluginFileName());
}

AdPanel::AdPanel(QWidget* parent)
    : AdPanel(AdPanelWebAllowedHere(), parent)
{
}

AdPanel::AdPanel(bool webAllowed, QWidget* parent, QString pluginFolder)
    : QWidget(parent)
    , m_webAllowed(kWebEngineBuilt && webAllowed)
    , m_pluginFolder(pluginFolder.isEmpty() ? ProgramLayoutOf(QCoreApplication::applicationDirPath()).pluginFolder
                                            : std::move(pluginFolder))
{
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

void AdPanel::prepareView()
{
    if (m_prepared || !loadFactory())
        return;
    m_factory->prepareWindow(this);
    m_prepared = true;
}

void AdPanel::navigate(const QString& address)
{
    if (m_view == nullptr)
        createView();
    if (m_view != nullptr)
        m_factory->load(m_view, QUrl(WithScheme(address)));
}

bool AdPanel::loadFactory()
{
    if (!m_webAllowed)
        return false;
    if (m_factory != nullptr)
        return true;
    // A missing or broken plugin leaves the panel plain for good.
    QPluginLoader loader(AdWebViewPluginPath(m_pluginFolder));
    m_factory = qobject_cast<AdWebViewFactory*>(loader.instance());
    if (m_factory == nullptr) {
        qCWarning(lcDesktop) << "no web view for the advertisement:" << loader.errorString();
        m_webAllowed = false;
    }
    return m_factory != nullptr;
}

void AdPanel::createView()
{
    if (!loadFactory())
        return;
    m_view = m_factory->createView(this);
    m_view->setGeometry(rect().marginsAdded(kHiddenEdges));
    m_view->show();
}

void AdPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_view != nullptr)
        m_view->setGeometry(rect().marginsAdded(kHiddenEdges));
}
