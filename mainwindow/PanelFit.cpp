#include "mainwindow/PanelFit.h"

#include <QAbstractSlider>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <cmath>

namespace {

// QLineEdit keeps two pixels clear on each side of its text, and one more for
// the cursor after the last character.
constexpr int kLineEditAir = 2 * 2 + 1;

// A slider stands for its edit box's value times 1000, whole-number boxes
// excepted.
double sliderScale(const QAbstractSpinBox* box)
{
    const auto* real = qobject_cast<const QDoubleSpinBox*>(box);
    return real && real->decimals() > 0 ? 1000.0 : 1.0;
}

QString boxText(const QAbstractSpinBox* box, double value)
{
    if (const auto* real = qobject_cast<const QDoubleSpinBox*>(box))
        return real->textFromValue(value);
    return QString::number(std::lround(value));
}

// The texts the box shows at rest: its value and its slider's two ends.
QStringList typicalTexts(const QAbstractSpinBox* box, const QWidget* root)
{
    QStringList texts;
    if (const auto* real = qobject_cast<const QDoubleSpinBox*>(box))
        texts << real->textFromValue(real->value());
    else if (const auto* whole = qobject_cast<const QSpinBox*>(box))
        texts << QString::number(whole->value());
    QString sliderName = box->objectName();
    if (sliderName.endsWith(QLatin1String("Et"))) {
        sliderName.chop(2);
        sliderName += QLatin1String("Sld");
        if (const auto* slider = root->findChild<const QAbstractSlider*>(sliderName)) {
            texts << boxText(box, slider->minimum() / sliderScale(box));
            texts << boxText(box, slider->maximum() / sliderScale(box));
        }
    }
    return texts;
}

// The width the box takes beside its text field: frame and padding.
int frameAround(const QAbstractSpinBox* box)
{
    QStyleOptionSpinBox option;
    option.initFrom(box);
    option.rect = QRect(QPoint(0, 0), QSize(200, std::max(box->height(), box->minimumHeight())));
    option.frame = box->hasFrame();
    option.buttonSymbols = box->buttonSymbols();
    option.subControls = QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
    if (box->buttonSymbols() != QAbstractSpinBox::NoButtons)
        option.subControls |= QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QRect field = box->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, box);
    return option.rect.width() - field.width();
}

bool fixedWidth(const QWidget* w)
{
    return w->maximumWidth() < QWIDGETSIZE_MAX && w->maximumWidth() - w->minimumWidth() <= 2;
}

} // namespace

void fitEditBoxesToText(QWidget* root)
{
    root->ensurePolished();
    const QList<QAbstractSpinBox*> boxes = root->findChildren<QAbstractSpinBox*>();
    int width = 0;
    for (QAbstractSpinBox* box : boxes) {
        if (!fixedWidth(box))
            continue;
        box->ensurePolished();
        const QLineEdit* field = box->findChild<QLineEdit*>();
        const QFontMetrics metrics = field ? field->fontMetrics() : box->fontMetrics();
        int text = 0;
        for (const QString& t : typicalTexts(box, root))
            text = std::max(text, metrics.horizontalAdvance(t));
        width = std::max({width, box->maximumWidth(), text + kLineEditAir + frameAround(box)});
    }
    for (QAbstractSpinBox* box : boxes) {
        if (fixedWidth(box) && box->maximumWidth() < width) {
            box->setMinimumWidth(width);
            box->setMaximumWidth(width);
        }
    }
}

void fitScrollAreasToContents(QWidget* root)
{
    root->ensurePolished();
    const QList<QScrollArea*> areas = root->findChildren<QScrollArea*>();
    for (QScrollArea* area : areas) {
        QWidget* contents = area->widget();
        if (!contents || area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
            continue;
        contents->ensurePolished();
        // Nested layouts keep the sizes they measured before the style
        // sheet set the fonts.
        const QList<QLayout*> layouts = contents->findChildren<QLayout*>();
        for (QLayout* layout : layouts)
            layout->invalidate();
        // A vertical scroll bar, when the dock is made shorter than its
        // rows, covers the contents' right margin first.
        int need = contents->minimumSizeHint().width() + 2 * area->frameWidth();
        if (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
            const int margin = contents->layout() ? contents->layout()->contentsMargins().right() : 0;
            need += std::max(0, area->verticalScrollBar()->sizeHint().width() - margin);
        }
        if (need > area->minimumWidth())
            area->setMinimumWidth(need);
    }
}

void fitLabelsToText(QWidget* root)
{
    root->ensurePolished();
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->minimumWidth() <= 0 || label->wordWrap() || label->text().isEmpty())
            continue;
        const int frame = label->width() - label->contentsRect().width();
        const int need = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() +
                         std::max(frame, 0) + std::max(label->indent(), 0);
        if (need > label->minimumWidth())
            label->setMinimumWidth(need);
    }
}
