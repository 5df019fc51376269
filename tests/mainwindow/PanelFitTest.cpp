// Room for the panels' texts: edit boxes widen all alike to their longest
// value, scroll areas hold their rows, read-outs hold their text, and nothing
// becomes smaller than drawn.
#include "mainwindow/PanelFit.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSlider>

namespace {

QFont pixelFont(int pixels)
{
    QFont font = testApp().font();
    font.setPixelSize(pixels);
    return font;
}

// A panel row as the forms draw it: an edit box of fixed width and its
// slider, whose value stands for the box's times 1000.
QDoubleSpinBox* addRow(QWidget& panel, const char* name, double value, int sliderMax, int width = 55)
{
    auto* box = new QDoubleSpinBox(&panel);
    box->setObjectName(QString::fromLatin1(name) + QLatin1String("Et"));
    box->setDecimals(3);
    box->setRange(-16777200.0, 16777200.0);
    box->setValue(value);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    if (width > 0)
        box->setFixedWidth(width);
    auto* slider = new QSlider(Qt::Horizontal, &panel);
    slider->setObjectName(QString::fromLatin1(name) + QLatin1String("Sld"));
    slider->setRange(0, sliderMax);
    panel.layout()->addWidget(box);
    panel.layout()->addWidget(slider);
    return box;
}

TEST(PanelFit, EditBoxesWidenAllAlikeToTheLongestValueTheyShow)
{
    testApp();
    struct Row
    {
        int pixels;
        bool widened;
    };
    for (const Row& row : {Row{20, true}, Row{5, false}}) {
        QWidget panel;
        panel.setFont(pixelFont(row.pixels));
        new QHBoxLayout(&panel);
        QDoubleSpinBox* intensity = addRow(panel, "magnetIntensity", 10.0, 2500000);  // up to "2500.000"
        QDoubleSpinBox* friction = addRow(panel, "friction", 0.5, 1000);
        QDoubleSpinBox* unfixed = addRow(panel, "unfixed", 0.0, 1000, 0);
        const int unfixedMax = unfixed->maximumWidth();

        fitEditBoxesToText(&panel);

        EXPECT_EQ(intensity->minimumWidth(), intensity->maximumWidth()) << "still fixed";
        EXPECT_EQ(friction->maximumWidth(), intensity->maximumWidth()) << "all alike";
        EXPECT_EQ(unfixed->maximumWidth(), unfixedMax) << "a box of no fixed width is left alone";
        if (row.widened) {
            const QFontMetrics metrics(pixelFont(row.pixels));
            EXPECT_GT(intensity->width(), metrics.horizontalAdvance(QStringLiteral("2500.000")));
        } else {
            EXPECT_EQ(intensity->width(), 55) << "never narrower than drawn";
        }
    }
}

TEST(PanelFit, AScrollAreaThatDoesNotScrollSidewaysHoldsItsRows)
{
    testApp();
    QWidget panel;
    panel.setFont(pixelFont(18));
    auto* layout = new QHBoxLayout(&panel);
    QScrollArea* areas[2];
    for (QScrollArea*& area : areas) {
        area = new QScrollArea(&panel);
        area->setWidgetResizable(true);
        auto* contents = new QWidget;
        auto* form = new QFormLayout(contents);
        form->setContentsMargins(11, 11, 11, 11);
        form->addRow(QStringLiteral("Velocity Magnitude:"), new QLabel(QStringLiteral("a rather long field text")));
        area->setWidget(contents);
        layout->addWidget(area);
    }
    areas[0]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    areas[1]->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    fitScrollAreasToContents(&panel);

    EXPECT_GE(areas[0]->minimumWidth(), areas[0]->widget()->minimumSizeHint().width() + 2 * areas[0]->frameWidth());
    EXPECT_EQ(areas[1]->minimumWidth(), 0) << "an area that scrolls sideways may be narrower than its rows";
}

TEST(PanelFit, ReadOutsDrawnWithAMinimumWidthHoldTheirText)
{
    testApp();
    QWidget area;
    area.setFont(pixelFont(20));
    auto* layout = new QHBoxLayout(&area);
    auto* fps = new QLabel(QStringLiteral("00.0/25.0"));
    fps->setMinimumWidth(55);
    auto* note = new QLabel(QStringLiteral("Notes Placeholder"));
    layout->addWidget(fps);
    layout->addWidget(note);

    fitLabelsToText(&area);

    EXPECT_GE(fps->minimumWidth(), QFontMetrics(pixelFont(20)).horizontalAdvance(fps->text()));
    EXPECT_EQ(note->minimumWidth(), 0) << "a label drawn without a minimum keeps none";
}

} // namespace
