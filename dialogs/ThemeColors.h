// Colours of the three themes that code (not the style sheets) paints: the
// section titles of the shortcuts reference and the key-text colour, which is
// the theme's rubber-band colour.
#pragma once

#include <QColor>

inline const QColor DARK_GRAY_THEME_SECTION_TITLE_BG_COLOR_DFLT{44, 44, 44};
inline const QColor DARK_GRAY_THEME_SECTION_TITLE_FORE_COLOR_DFLT{225, 225, 225};
inline const QColor LIGHT_GRAY_THEME_SECTION_TITLE_BG_COLOR_DFLT{78, 78, 78};
inline const QColor LIGHT_GRAY_THEME_SECTION_TITLE_FORE_COLOR_DFLT{237, 237, 237};
inline const QColor WHITE_THEME_SECTION_TITLE_BG_COLOR_DFLT{217, 217, 217};
inline const QColor WHITE_THEME_SECTION_TITLE_FORE_COLOR_DFLT{0, 0, 0};
inline const QColor DARK_GRAY_THEME_RUBBER_BAND_COLOR_DFLT{191, 140, 0};
inline const QColor WHITE_THEME_RUBBER_BAND_COLOR_DFLT{0, 153, 255};
