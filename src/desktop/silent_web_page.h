#pragma once

#include <QWebEnginePage>

// A page that never asks the user anything: script dialogs, file pickers,
// log-in prompts, certificate questions, permission and full-screen requests
// are all answered "no" without showing a thing. The advertisement panel is
// not something the user interacts with.
class SilentWebPage final : public QWebEnginePage
{
    Q_OBJECT

public:
    SilentWebPage(QWebEngineProfile* profile, QObject* parent);

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
};
