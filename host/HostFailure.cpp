#include "host/HostFailure.h"

#include "host/AEGP_SuiteHandler.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <exception>
#include <new>

A_Err ErrorFromCurrentException()
{
    try {
        throw;
    } catch (int err) {
        return err != A_Err_NONE ? err : A_Err_GENERIC;
    } catch (const std::bad_alloc&) {
        return A_Err_ALLOC;
    } catch (...) {
        return A_Err_GENERIC;
    }
}

QString HostFailureText(A_Err err)
{
    if (err == kMissingSuiteError)
        return QStringLiteral("The host does not provide a service that Zolvar needs (error %1). "
                              "The operation was stopped.")
            .arg(err);
    return QStringLiteral("A host operation failed (error %1). The operation was stopped.").arg(err);
}

namespace {

// The visible main window, if any, as the parent of the message.
QWidget* MessageParent()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets)
        if (w->objectName() == QLatin1String("ZolvarDlgClass") && w->isVisible())
            return w;
    return QApplication::activeWindow();
}

} // namespace

void ReportHostFailure(A_Err err)
{
    ReportHostProblem(HostFailureText(err));
}

void ReportHostProblem(const QString& text)
{
    static bool showing = false;
    if (showing || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    showing = true;
    QMessageBox::warning(MessageParent(), QStringLiteral("Zolvar"), text);
    showing = false;
}
