// The three themes: the application style sheet of each and the theme's
// variants of the images that code (not the style sheets) shows. Each of
// these registers the program's resources before it answers.
//
// Theme index, as stored in the host preference "UI Theme": 0 dark gray,
// 1 light gray, 2 white. Any other index is drawn as dark gray but is kept
// and handed on as it is.
#pragma once

#include <QString>

class QApplication;

namespace Theme {
enum Value : int {
    DarkGray = 0,
    LightGray = 1,
    White = 2,
};
}

// Filled into the style sheets' "%menu_font_family%" and "%menu_font_size%".
extern const char* const kMenuFontFamily;  // "Lucida Grande"
constexpr int kMenuFontSize = 12;

// ":/Zolvar_darkgray.qss", ":/Zolvar_lightgray.qss" or ":/Zolvar_white.qss".
QString styleSheetPath(int theme);

// Replaces every "%menu_font_family%" and "%menu_font_size%" (case-sensitive).
QString fillStyleSheet(QString sheet);

// Reads the style sheet at path, fills it and sets it on the application.
// A sheet that cannot be opened gives the Qt warning "Unable to open
// application style sheet." and leaves the application's sheet as it was.
bool applyStyleSheet(QApplication& application, const QString& path);

// applyStyleSheet with the theme's sheet.
bool loadStyleSheet(QApplication& application, int theme);

// The joint-type icon (0 distance, 1 pivot, 2 piston, 3 spring) for a theme:
// plain, "_light" or "_white". Another type gives an empty string.
QString jointIconPath(int theme, int jointType);

// The header icon of the bodies table's label (0), collision-group (2) and
// colour (3) columns: "_white" under the white theme. Another column gives an
// empty string.
QString bodyHeaderIconPath(int theme, int column);

// The about box's logo: the black one on the white theme, else the white one.
QString aboutLogoPath(int theme);

// The warning dialog's icon.
QString alertIconPath(int theme);
