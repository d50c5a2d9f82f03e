#pragma once

#include <QUrl>
#include <QWidget>

// Call in main() before the QApplication is constructed, with main()'s
// arguments. The web view renders through OpenGL and needs the
// application-wide shared context, which can only be requested before the
// application object exists. Where no web view may run, OpenGL is left alone:
// loading it would cost tens of megabytes for nothing.
void PrepareAdPanel(int argc, char** argv);

// Whether a web view may be started in this process. Chromium refuses to run
// as root with its sandbox on and ends the whole process, so a root process
// gets a web view only when the user has switched the sandbox off.
bool WebViewAllowed(bool runningAsRoot, bool sandboxDisabled);

// WebViewAllowed() for this process: built with Qt WebEngine, and the real
// user id and the sandbox switches Qt WebEngine reads from the environment.
bool AdPanelWebAllowedHere();

// The panel over the empty alarm list that shows the maker's page. It is a
// plain opaque panel until navigate() is first called; only then is the web
// view started, so starting Chromium never delays the main window's first
// frame. The view is silent: the page can open no dialog, window or prompt
// of its own. Without a usable web view the panel simply stays plain.
//
// The owner positions the panel; the view inside is larger than the panel
// and shifted up and left, so the page's borders and scroll bars fall
// outside the visible area.
class AdWebViewFactory;

// Where the panel looks for the plugin that holds the web view.
QString AdWebViewPluginPath(const QString& folder);

class AdPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit AdPanel(QWidget* parent = nullptr);
    // The web view comes from a plugin in pluginFolder, by default the
    // program's plugin folder (ProgramLayout).
    AdPanel(bool webAllowed, QWidget* parent, QString pluginFolder = QString());
    ~AdPanel() override;

    bool webAvailable() const;

    // Readies the window for the web view, where one may run; call before
    // the window first shows. Without it, the first page replaces the
    // window on screen with one that can show OpenGL: it flickers and drops
    // the user's clicks and keys.
    void prepareView();

    // Starts loading the address and returns at once. Nothing about the page
    // is reported back; a failed load leaves whatever the view shows.
    void navigate(const QString& address);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool loadFactory();
    void createView();

    bool m_webAllowed;
    QString m_pluginFolder;
    AdWebViewFactory* m_factory = nullptr;
    QWidget* m_view = nullptr;
    bool m_prepared = false;
};
