#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every save-file dialog of the program goes through here. The default shows a
// modal QFileDialog; tests install a handler that answers with a path.
// defaultSuffix is added to a typed name without one. "" when cancelled.
using SaveFileDialogHandler = std::function<QString(const QString& caption, const QString& fileName,
                                                    const QString& filter, const QString& defaultSuffix)>;

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                        const QString& defaultSuffix);
// Returns the handler that was installed before; an empty handler restores the default.
SaveFileDialogHandler SetSaveFileDialogHandler(SaveFileDialogHandler handler);
