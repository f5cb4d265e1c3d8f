#include "ToolkitMessages.h"

#include "runtime/VtText.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

VtMessageHandler g_handler = nullptr;

void DefaultHandler(const QString& title, const QString& text)
{
    const bool visible = qobject_cast<QApplication*>(QCoreApplication::instance()) &&
                         QGuiApplication::platformName() != QLatin1String("offscreen") &&
                         QGuiApplication::platformName() != QLatin1String("minimal");
    if (visible)
        QMessageBox::critical(nullptr, title, text);
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

} // namespace

VtMessageHandler VtSetMessageHandler(VtMessageHandler handler)
{
    const VtMessageHandler previous = g_handler;
    g_handler = handler;
    return previous;
}

void VtShowMessage(const QString& title, const QString& text)
{
    if (g_handler)
        g_handler(VtText(title), VtText(text));
    else
        DefaultHandler(title, text);
}
