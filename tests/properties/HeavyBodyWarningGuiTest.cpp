// A mesh-precision change on a body of many polygons brings up the warning
// box; once the user ticks "Don't show this message again" it stays away.
#include "mainwindow/WindowFixture.h"

#include "dialogs/ErrorDlg.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace {

// A solid whose mask is a 100-pointed star: far more than 75 triangles.
QByteArray starProject()
{
    QByteArray vertices;
    for (int i = 0; i < 200; ++i) {
        const double r = i % 2 ? 80.0 : 190.0;
        const double a = 2.0 * M_PI * i / 200.0;
        vertices += (vertices.isEmpty() ? "" : ", ") +
                    QStringLiteral("[%1, %2]").arg(200.0 + r * std::cos(a)).arg(200.0 + r * std::sin(a)).toUtf8();
    }
    return R"({"format": "zolvar-standin-project",
        "footage": [{"id": 1, "name": "Grey", "kind": "solid", "width": 400, "height": 400, "color": [0.5, 0.5, 0.5]}],
        "compositions": [{"id": 10, "name": "Main", "width": 1000, "height": 1000, "frameRate": 25, "duration": 4,
            "layers": [{"id": 1, "type": "solid", "name": "Star", "source": 1,
                        "transform": {"position": [500, 500]},
                        "masks": [{"shape": {"closed": true, "vertices": [)" +
           vertices + R"(]}}]}]}],
        "activeItem": "Main"})";
}

TEST(HeavyBodyWarning, TheAnswerIsKeptForTheRun)
{
    auto host = window_test::makeHost(18, 0, starProject());
    auto window = window_test::makeWindow(*host);
    SimulationView* view = window->simulationView();
    view->getTimer()->stop();
    ASSERT_EQ(view->bodies.size(), 1u);

    QStringList shown;
    const auto answerWith = [&](bool tick) {
        QTimer::singleShot(0, [&shown, tick] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<ErrorDlg*>(w); dialog && dialog->isVisible()) {
                    shown << dialog->messageLabel()->text();
                    dialog->dontShowAgainBox()->setChecked(tick);
                    dialog->okButton()->click();
                }
        });
    };

    answerWith(false);
    view->setMeshPrecision({2}, {0});
    ASSERT_TRUE(view->bodies[0].tooManyPolygons);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("The following bodies contains more than 75 polygons"));
    EXPECT_TRUE(shown[0].endsWith("Body #1 (Star)  "));
    EXPECT_TRUE(view->showTooManyPolygonsWarning);

    answerWith(true);
    view->setMeshPrecision({3}, {0});
    ASSERT_EQ(shown.size(), 2);
    EXPECT_FALSE(view->showTooManyPolygonsWarning);

    // No box any more: a timer that would answer one finds none.
    answerWith(false);
    view->setMeshPrecision({2}, {0});
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), 2);
}

} // namespace
