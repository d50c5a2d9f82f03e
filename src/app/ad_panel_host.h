#pragma once

#include <QString>

class QWidget;

// Makes the panel that covers the empty alarm list and loads its page. The
// program gives it a web page; tests give it a plain widget and count the
// loads.
class AdPanelHost
{
public:
    virtual ~AdPanelHost() = default;
    virtual QWidget* createPanel(QWidget* parent) = 0;
    // Loads the address into the panel made last; returns at once.
    virtual void navigate(const QString& address) = 0;
};
