#include "web_ad_panel_host.h"

#include "ad_panel.h"

QWidget* WebAdPanelHost::createPanel(QWidget* parent)
{
    m_panel = new AdPanel(AdPanelWebAllowedHere(), parent);
    return m_panel;
}

void WebAdPanelHost::navigate(const QString& address)
{
    if (m_panel)
        m_panel->navigate(address);
}
