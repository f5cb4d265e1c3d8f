#include "FileDialog.h"

#include <QFileDialog>

namespace {

SaveFileDialogHandler g_handler;

} // namespace

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                        const QString& defaultSuffix)
{
    if (g_handler)
        return g_handler(caption, fileName, filter, defaultSuffix);
    QFileDialog dialog(parent, caption, fileName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

SaveFileDialogHandler SetSaveFileDialogHandler(SaveFileDialogHandler handler)
{
    SaveFileDialogHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}
