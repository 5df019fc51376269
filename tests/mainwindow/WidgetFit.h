// Finds the controls and labels that the user cannot see whole: a text wider
// (or taller) than the room its widget gives it, or a widget cut off by one of
// its parents. A scroll area that scrolls vertically may hide rows below or
// above; it must still show every row at its full width.
#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <QToolButton>
#include <QWidget>

namespace widget_fit {

// Lays out every pending layout under top, so geometries are final.
inline void settle(QWidget* top)
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        if (top->layout())
            top->layout()->activate();
        QApplication::processEvents();
    }
}

inline QString describe(const QWidget* w)
{
    QString name = w->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(w->metaObject()->className());
    const bool qtsOwn = name.startsWith(QLatin1String("qt_")) || w->objectName().isEmpty();
    if (const QWidget* parent = w->parentWidget(); parent && qtsOwn)
        name += QStringLiteral(" in ") + parent->objectName();
    return name;
}

// True when w is a scroll area that scrolls vertically, or its viewport.
inline bool scrollsVertically(const QWidget* w)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(w);
    if (!area)
        area = qobject_cast<const QAbstractScrollArea*>(w->parentWidget());
    return area && (area == w || area->viewport() == w) &&
           area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
}

// Why w is cut by an ancestor up to top, or an empty string.
inline QString cutByParent(const QWidget* w, const QWidget* top)
{
    const QRect own(w->mapTo(top, QPoint(0, 0)), w->size());
    bool scrolled = false;  // within a vertical scroll area: rows may lie above or below
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        const QRect room(p->mapTo(top, QPoint(0, 0)), p->size());
        const bool horizontal = own.left() >= room.left() && own.right() <= room.right();
        const bool vertical = own.top() >= room.top() && own.bottom() <= room.bottom();
        scrolled = scrolled || scrollsVertically(p);
        if (!horizontal || (!vertical && !scrolled))
            return QStringLiteral("cut by %1 (%2,%3 %4x%5 outside %6,%7 %8x%9)")
                .arg(describe(p))
                .arg(own.x()).arg(own.y()).arg(own.width()).arg(own.height())
                .arg(room.x()).arg(room.y()).arg(room.width()).arg(room.height());
        if (p == top)
            break;
    }
    return {};
}

inline QString tooNarrow(int need, int room)
{
    return QStringLiteral("text needs %1 px, has %2").arg(need).arg(room);
}

// Why w's own text does not fit in w, or an empty string.
inline QString textCut(const QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const int textHeight = fm.ascent() + fm.descent();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QString text = label->text();
        if (text.isEmpty() || label->wordWrap() || Qt::mightBeRichText(text))
            return {};
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        const int indent = label->indent() > 0 ? label->indent() : 0;
        const int need = fm.horizontalAdvance(text) + indent;
        if (need > room.width())
            return tooNarrow(need, room.width());
        if (textHeight > room.height())
            return QStringLiteral("text needs %1 px of height, has %2").arg(textHeight).arg(room.height());
        return {};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        const QString text = button->text();
        if (text.isEmpty())
            return {};
        if (const auto* tool = qobject_cast<const QToolButton*>(w); tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
        int need = fm.horizontalAdvance(QString(text).remove(QLatin1Char('&')));
        if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            // The indicator and its spacing come before the text.
            need = button->sizeHint().width();
        } else {
            need += 4;  // a frame and a pixel of air on each side
        }
        if (need > w->width())
            return tooNarrow(need, w->width());
        if (textHeight > w->height())
            return QStringLiteral("text needs %1 px of height, has %2").arg(textHeight).arg(w->height());
        return {};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        const QString text = edit->text();
        if (text.isEmpty())
            return {};
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Sunken;
        QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        const QMargins margins = edit->textMargins();
        room = room.marginsRemoved(margins);
        const int horizontalMargin = 2;  // QLineEdit keeps two pixels clear on each side
        const int need = fm.horizontalAdvance(text) + 2 * horizontalMargin;
        if (need > room.width())
            return tooNarrow(need, room.width());
        return {};
    }
    return {};
}

// Every visible label, button and line edit under root that is not whole
// within top (root itself or one of its ancestors), as "where: name: why"
// lines.
inline QStringList clipped(QWidget* root, QWidget* top, const QString& where)
{
    QStringList found;
    const QList<QWidget*> widgets = root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w))
            continue;
        QString why = cutByParent(w, top);
        if (why.isEmpty())
            why = textCut(w);
        if (!why.isEmpty())
            found << QStringLiteral("%1: %2: %3").arg(where, describe(w), why);
    }
    return found;
}

} // namespace widget_fit
