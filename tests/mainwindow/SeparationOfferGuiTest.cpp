// The main window's offer to separate layers before it builds the scene:
// the dialog it opens, and the bodies it builds after Separate or Skip.
#include "ModalAnswer.h"
#include "WindowFixture.h"

#include "separation/PreprocessingDlg.h"
#include "simulation/SimulationView.h"

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

using namespace window_test;

// A solid with three masks and a shape layer with three top-level groups.
const QByteArray kSeparable = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 300, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
        "layers": [
            {"type": "solid", "name": "Three Masks", "source": "Red", "transform": {"position": [320, 80]},
             "masks": [
                {"name": "One", "shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
                {"name": "Two", "shape": {"closed": true, "vertices": [[110, 0], [190, 0], [190, 80], [110, 80]]}},
                {"name": "Three", "shape": {"closed": true, "vertices": [[220, 0], [300, 0], [300, 80]]}}]},
            {"type": "shape", "name": "Three Groups", "transform": {"position": [320, 250]}, "contents": [
                {"matchName": "ADBE Vector Group", "name": "Left", "transform": {"ADBE Vector Position": [-150, 0]},
                 "contents": [{"matchName": "ADBE Vector Shape - Rect",
                               "properties": {"ADBE Vector Rect Size": [60, 60]}}]},
                {"matchName": "ADBE Vector Group", "name": "Middle",
                 "contents": [{"matchName": "ADBE Vector Shape - Ellipse",
                               "properties": {"ADBE Vector Ellipse Size": [60, 60]}}]},
                {"matchName": "ADBE Vector Group", "name": "Right", "transform": {"ADBE Vector Position": [150, 0]},
                 "contents": [{"matchName": "ADBE Vector Shape - Star",
                               "properties": {"ADBE Vector Star Outer Radius": 40}}]}]}]}],
    "activeItem": "Main"
})";

// Builds the window while `act` answers the separation dialog (once).
std::unique_ptr<ZolvarDlg> windowAnswering(Host& host, const std::function<void(PreprocessingDlg&)>& act,
                                           bool* offered)
{
    *offered = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<PreprocessingDlg*>(w);
            if (!dialog || !dialog->isVisible() || *offered)
                continue;
            *offered = true;
            EXPECT_EQ(dialog->parentWidget(), nullptr);
            EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
            EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
            act(*dialog);
        }
    });
    timer.start();
    auto window = makeWindow(host);
    timer.stop();
    return window;
}

void clickSeparateWithAllRows(PreprocessingDlg& dialog)
{
    auto* table = dialog.findChild<QTableView*>(QStringLiteral("layersTable"));
    EXPECT_EQ(table->model()->rowCount(), 2);
    table->selectAll();
    dialog.findChild<QToolButton*>(QStringLiteral("separateBtn"))->click();
}

TEST(SeparationOffer, SeparatingTheOfferedLayersGivesOneBodyPerMaskAndGroup)
{
    auto host = makeHost(18, 0, kSeparable);
    bool offered = false;
    auto window = windowAnswering(*host, clickSeparateWithAllRows, &offered);
    EXPECT_TRUE(offered);
    EXPECT_EQ(window->simulationView()->bodies.size(), 6u);
    std::vector<QString> names;
    for (const auto& layer : host->project->activeComposition()->layers())
        names.push_back(layer->name());
    EXPECT_EQ(names, (std::vector<QString>{"One", "Two", "Three", "Three Masks", "Three Groups", "Left", "Middle",
                                           "Right"}));
    ASSERT_FALSE(host->session->undoGroups().empty());
    EXPECT_EQ(host->session->undoGroups()[0].name, "Zolvar - Shapes Separation");
}

// Skipped by its button or its title bar (the host's quit: CommandGui's rows).
TEST(SeparationOffer, SkipBuildsTheMultiOutlineLayersAsSingleBodies)
{
    for (const int way : {0, 1}) {
        auto host = makeHost(18, 0, kSeparable);
        bool offered = false;
        auto window = windowAnswering(
            *host,
            [&](PreprocessingDlg& dialog) {
                if (way == 1)
                    dialog.close();
                else
                    dialog.findChild<QToolButton*>(QStringLiteral("skipBtn"))->click();
            },
            &offered);
        EXPECT_TRUE(offered);
        EXPECT_EQ(window->simulationView()->bodies.size(), 2u);
        EXPECT_EQ(host->project->activeComposition()->layerCount(), 2);
        for (const auto& group : host->session->undoGroups())
            EXPECT_NE(group.name, "Zolvar - Shapes Separation");
    }
}

// A shape layer whose groups lie under a mask, or whose groups overlap (an
// even-odd ring over two groups), is not on offer: the offer names it and
// says why.
TEST(SeparationOffer, TheOfferSaysWhichLayersItLeavesOutAndWhy)
{
    QByteArray project = kSeparable;
    const QByteArray underMask = R"(,
            {"type": "shape", "name": "Under A Mask", "transform": {"position": [320, 180]},
             "masks": [{"shape": {"closed": true, "vertices": [[-200, -90], [200, -90], [200, 90], [-200, 90]]}}],
             "contents": [{"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]},
                          {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Ellipse"}]}]},
            {"type": "shape", "name": "Ring", "transform": {"position": [320, 180]},
             "contents": [{"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                               "properties": {"ADBE Vector Rect Size": [200, 200]}}]},
                          {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect",
                               "properties": {"ADBE Vector Rect Size": [80, 80]}}]},
                          {"matchName": "ADBE Vector Graphic - Fill", "properties": {"ADBE Vector Fill Rule": 2}}]})";
    project.insert(project.lastIndexOf("]}]"), underMask);
    auto host = makeHost(18, 0, project);
    bool offered = false;
    QString leftOut;
    bool shown = false;
    auto window = windowAnswering(
        *host,
        [&](PreprocessingDlg& dialog) {
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("leftOutSt"));
            ASSERT_NE(label, nullptr);
            shown = label->isVisible();
            leftOut = label->text();
            // However long the note, it scrolls in its own box and leaves the
            // list of layers on offer its room.
            auto* area = dialog.findChild<QScrollArea*>(QStringLiteral("leftOutArea"));
            ASSERT_NE(area, nullptr);
            EXPECT_LE(area->height(), 110);
            EXPECT_GE(dialog.findChild<QTableView*>(QStringLiteral("layersTable"))->height(), 100);
            clickSeparateWithAllRows(dialog);
        },
        &offered);
    EXPECT_TRUE(offered);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(leftOut.contains(QStringLiteral("Layer 3 (Under A Mask): its shapes are under a mask")))
        << leftOut.toStdString();
    EXPECT_TRUE(leftOut.contains(QStringLiteral("Layer 4 (Ring): its groups overlap or touch: together they make one body")))
        << leftOut.toStdString();
    EXPECT_EQ(window->simulationView()->bodies.size(), 8u) << "the layer under its mask and the ring stay one body each";
}

// Without a layer on offer no dialog opens. When layers of several outlines
// are all left out, one message names them and says why, as the offer's note
// does; a composition without such layers starts silently.
TEST(SeparationOffer, ACompositionWithoutSuchLayersOpensNoDialog)
{
    const QByteArray crossing = QByteArray(kProject).replace(
        R"("source": "Red"})", R"("source": "Red", "masks": [
            {"shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
            {"shape": {"closed": true, "vertices": [[40, 0], [120, 0], [120, 80], [40, 80]]}}]})");
    for (const QByteArray& project : {kProject, crossing}) {
        auto host = makeHost(18, 0, project);
        QStringList told;
        QPointer<QTimer> poll = whenShown<QMessageBox>([&](QMessageBox& box) {
            told << box.windowTitle() + ": " + box.text();
            box.accept();
        });
        bool offered = false;
        auto window = windowAnswering(*host, [](PreprocessingDlg&) {}, &offered);
        delete poll.data();
        EXPECT_FALSE(offered);
        EXPECT_EQ(window->simulationView()->bodies.size(), 1u);
        EXPECT_EQ(told, project == kProject ? QStringList() : QStringList{QStringLiteral(
            "Zolvar: No layer is offered for separation into one layer per mask or group.\n\nNot offered, and left "
            "as they are:\nLayer 1 (Box): its masks overlap: together they make one body, as drawn; apart, each "
            "would be a body lying partly in another's place.")});
    }
}

} // namespace
