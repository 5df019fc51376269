// Themes, label colours and the property sliders' from-values.
#include "mainwindow/ZolvarDlg.h"

#include "mainwindow/LabelColors.h"
#include "mainwindow/SliderDefaults.h"
#include "mainwindow/Themes.h"

#include <QApplication>
#include <QIcon>

#include <array>

void ZolvarDlg::loadStyleSheet(int themeIndex)
{
    QApplication* app = application ? application : qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app)
        ::loadStyleSheet(*app, themeIndex);
}

void ZolvarDlg::setTheme(int themeIndex)
{
    theme = themeIndex;
}

void ZolvarDlg::setRubberBand(int /*theme*/)
{
}

void ZolvarDlg::GetColorLabels()
{
    fillLabelColors(labelColors);
}

void ZolvarDlg::setSliderDefaults()
{
    applySliderDefaults(ui);
}

void ZolvarDlg::setSlidersFromValWithCurrentVal()
{
    setFromValsToCurrentPositions(ui);
}

// The view picks the icons' theme variant when it loads them; the icons
// here are the theme's joint-type images.
void ZolvarDlg::setJointTabIcons(int themeIndex)
{
    std::array<QIcon, 4> icons;
    for (int type = 0; type < 4; ++type)
        icons[static_cast<size_t>(type)] = QIcon(jointIconPath(themeIndex, type));
    applyJointTabIcons(ui, icons);
}
