#include "CQuillonExtApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Window placement and always-on-top need X11 (XWayland on a Wayland desktop),
    // unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication application(argc, argv);
    // Lets the desktop match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillon"));
    CQuillonExtApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    app.InitInstance(arguments);
    return app.ExitInstance();
}
