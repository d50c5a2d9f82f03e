#pragma once

#include "ad_web_view_factory.h"

#include <QObject>

// The Qt WebEngine side of the advertisement panel, built as a plugin.
class AdWebViewPlugin final : public QObject, public AdWebViewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID NeloClockAdWebViewFactory_iid)
    Q_INTERFACES(AdWebViewFactory)

public:
    void prepareWindow(QWidget* parent) override;
    QWidget* createView(QWidget* parent) override;
    void load(QWidget* view, const QUrl& url) override;
};
