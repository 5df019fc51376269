#include "host/ZolvarApplication.h"

#include "host/HostFailure.h"

ZolvarApplication::ZolvarApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool ZolvarApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const A_Err err = ErrorFromCurrentException();
        emit hostCallFailed(err);
        ReportHostFailure(err);
        return false;
    }
}
