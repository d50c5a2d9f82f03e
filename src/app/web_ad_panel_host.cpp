#include "web_ad_panel_host.h"

#include "ad_panel.h"

QWidget* WebAdPanelHost::createPanel(QWidget* parent)
{
    m_panel = new AdPanel(AdPanelWebAllowedHere(), parent);
    // The view exists before the window first shows; the page itself loads
    // only once the window is on screen.
    m_panel->prepareView();
    return m_panel;
}

void WebAdPanelHost::navigate(const QString& address)
{
    if (m_panel)
        m_panel->navigate(address);
}
