#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageBoxHandler g_handler;
QString g_appName;

int ShowMessageBox(const QString& text, const QString& caption, UINT type)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    if (type & MB_ICONERROR)
        box.setIcon(QMessageBox::Critical);
    else if (type & MB_ICONINFORMATION)
        box.setIcon(QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

} // namespace

int AfxMessageBox(const QString& text, UINT type)
{
    return g_handler ? g_handler(text, g_appName, type) : ShowMessageBox(text, g_appName, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

void AfxSetAppName(const QString& name)
{
    g_appName = name;
}

QString AfxGetAppName()
{
    return g_appName;
}
