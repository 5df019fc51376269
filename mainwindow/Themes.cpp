#include "mainwindow/Themes.h"

#include "resources/Resources.h"

#include <QApplication>
#include <QFile>
#include <QtGlobal>

const char* const kMenuFontFamily = "Lucida Grande";

QString styleSheetPath(int theme)
{
    switch (theme) {
    case Theme::LightGray:
        return QStringLiteral(":/Zolvar_lightgray.qss");
    case Theme::White:
        return QStringLiteral(":/Zolvar_white.qss");
    default:
        return QStringLiteral(":/Zolvar_darkgray.qss");
    }
}

QString fillStyleSheet(QString sheet)
{
    sheet.replace(QLatin1String("%menu_font_family%"), QLatin1String(kMenuFontFamily),
                  Qt::CaseSensitive);
    sheet.replace(QLatin1String("%menu_font_size%"), QString::number(kMenuFontSize),
                  Qt::CaseSensitive);
    return sheet;
}

bool applyStyleSheet(QApplication& application, const QString& path)
{
    initZolvarResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Unable to open application style sheet.");
        return false;
    }
    application.setStyleSheet(fillStyleSheet(QString::fromUtf8(file.readAll())));
    return true;
}

bool loadStyleSheet(QApplication& application, int theme)
{
    return applyStyleSheet(application, styleSheetPath(theme));
}

// The path of an image's variant for a theme. The images live in the
// program's resources, which are registered on the way.
static QString themed(const char* name, int theme, bool hasLight)
{
    initZolvarResources();
    const char* suffix = "";
    if (theme == Theme::White)
        suffix = "_white";
    else if (theme == Theme::LightGray && hasLight)
        suffix = "_light";
    return QStringLiteral(":/images/%1%2.png").arg(QLatin1String(name), QLatin1String(suffix));
}

QString jointIconPath(int theme, int jointType)
{
    static const char* const names[] = {"joint_distance", "joint_revolute", "joint_prismatic",
                                        "joint_spring"};
    if (jointType < 0 || jointType > 3)
        return QString();
    return themed(names[jointType], theme, true);
}

QString bodyHeaderIconPath(int theme, int column)
{
    switch (column) {
    case 0:
        return themed("body_label", theme, false);
    case 2:
        return themed("body_group", theme, false);
    case 3:
        return themed("body_color", theme, false);
    default:
        return QString();
    }
}

QString aboutLogoPath(int theme)
{
    initZolvarResources();
    return theme == Theme::White ? QStringLiteral(":/images/qorv_logo_black.png")
                                 : QStringLiteral(":/images/qorv_logo_white.png");
}

QString alertIconPath(int theme)
{
    return themed("alert_big", theme, false);
}
