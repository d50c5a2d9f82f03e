#pragma once

#include "ad_panel_host.h"

#include <QPointer>

class AdPanel;

// The advertisement page in a web view, where this process may start one.
class WebAdPanelHost final : public AdPanelHost
{
public:
    QWidget* createPanel(QWidget* parent) override;
    void navigate(const QString& address) override;

private:
    QPointer<AdPanel> m_panel;
};
