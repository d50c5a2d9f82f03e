#pragma once

#include <QtPlugin>

class QUrl;
class QWidget;

// Makes the advertisement panel's web view. It lives in a plugin beside the
// executable, so that Qt WebEngine (tens of megabytes, and OpenGL with it) is
// loaded only by a process that will really show a page.
class AdWebViewFactory
{
public:
    virtual ~AdWebViewFactory() = default;

    // Readies the window that will hold the view, before it first shows:
    // the view draws through OpenGL from a child it adds only when a page
    // loads, and a window already on screen would then be replaced by one
    // that can show OpenGL (it flickers, and clicks and keys in that moment
    // are lost).
    virtual void prepareWindow(QWidget* parent) = 0;

    // A silent web view, a child of parent; what it needs besides (its
    // profile) is a child of parent too, created before the view, so the
    // owner must delete the view first.
    virtual QWidget* createView(QWidget* parent) = 0;
    virtual void load(QWidget* view, const QUrl& url) = 0;
};

#define NeloClockAdWebViewFactory_iid "org.neloclock.AdWebViewFactory/1"
Q_DECLARE_INTERFACE(AdWebViewFactory, NeloClockAdWebViewFactory_iid)
