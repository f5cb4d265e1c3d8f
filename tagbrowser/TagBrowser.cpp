// The exported entry point of the tag browser library.
#include "runtime/TagBrowserExt.h"

#include "TagBrowserDialog.h"

#include <QApplication>

#include <algorithm>
#include <string>

extern "C" {

int TagBrowser(VtChar* buffer, int capacity, int, int, int)
{
    // A dialog needs a widget application; a host without one gets no pick.
    if (!buffer || capacity <= 0 || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return 0;
    TagBrowserDialog dialog(QApplication::activeWindow());
    dialog.Load();
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const std::u16string name = dialog.PickedTag().toStdU16String();
    // A name that does not fit whole is no pick: a cut name would be another tag.
    if (name.empty() || name.size() >= static_cast<std::size_t>(capacity))
        return 0;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    return 1;
}

} // extern "C"
