// The layer separation dialog: its form and table, the selection it
// separates and in which order, the progress texts, Skip and the close
// button, one undo group that the host undoes in one step, and no way in
// while it works.
#include "SeparationFixture.h"

#include "mainwindow/TestApp.h"
#include "separation/PreprocessingDlg.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

using namespace separation_test;
using outline_test::composition;
using outline_test::Scene;

// Rows on offer: layers 0, 1, 3, 4, 5 ("A" to "E", two masks each, named
// "<layer> 1" and "<layer> 2"); layer 2 has one mask. Layer 3 has no name of
// its own.
QByteArray offerComposition()
{
    auto two = [](const char* name, const char* own) {
        const QByteArray n(name);
        return solidLayer(own, mask(QByteArray(n + " 1").constData(), 0) + "," +
                                   mask(QByteArray(n + " 2").constData(), 50));
    };
    return composition(two("A", "A") + "," + two("B", "B") + "," + solidLayer("Single", mask("S", 0)) + "," +
                       two("C", "") + "," + two("D", "D") + "," + two("E", "E"));
}
const std::vector<int> kOffered{0, 1, 3, 4, 5};

struct Dialog {
    explicit Dialog(Scene& scene) : dlg(nullptr, Qt::WindowCloseButtonHint, scene.basic(), outline_test::kPluginId)
    {
        dlg.setLayerIndicesToSep(kOffered, std::vector<SeparationKind>(kOffered.size(), SeparationKind::Masks));
        dlg.populateLayerList();
    }
    QTableView* table() { return dlg.findChild<QTableView*>(QStringLiteral("layersTable")); }
    QToolButton* button(const char* name) { return dlg.findChild<QToolButton*>(QLatin1String(name)); }
    QLabel* label(const char* name) { return dlg.findChild<QLabel*>(QLatin1String(name)); }
    void selectRows(std::initializer_list<int> rows)
    {
        for (int row : rows)
            table()->selectionModel()->select(table()->model()->index(row, 1),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QApplication& app = testApp();  // before the dialog
    PreprocessingDlg dlg;
};

TEST(PreprocessingDlg, FormAndTableShowTheLayersOnOffer)
{
    Scene scene(offerComposition());
    Dialog d(scene);
    EXPECT_EQ(d.dlg.objectName(), QStringLiteral("PreprocessingDlgClass"));
    EXPECT_EQ(d.dlg.windowTitle(), QStringLiteral("Zolvar - Shapes Separation"));
    EXPECT_EQ(d.dlg.size(), QSize(548, 398));
    EXPECT_FALSE(d.dlg.windowIcon().isNull());
    EXPECT_EQ(d.button("separateBtn")->text(), QStringLiteral("Separate"));
    EXPECT_EQ(d.button("skipBtn")->text(), QStringLiteral("Skip"));
    EXPECT_EQ(d.label("layerProgressSt")->text(), QStringLiteral("Layer Progress"));
    EXPECT_EQ(d.label("shapeProgressSt")->text(), QStringLiteral("Shape Progress"));
    for (const char* bar : {"layerProgressBar", "shapeProgressBar"}) {
        auto* progress = d.dlg.findChild<QProgressBar*>(QLatin1String(bar));
        ASSERT_NE(progress, nullptr) << bar;
        EXPECT_EQ(progress->maximumHeight(), 7);
        EXPECT_FALSE(progress->isTextVisible());
    }

    QAbstractItemModel* model = d.table()->model();
    ASSERT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" # "));
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("Layer Index"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Layer Name"));
    const QStringList numbers{"1", "2", "4", "5", "6"};
    const QStringList names{"A", "B", "Red", "D", "E"};  // C has no name: its source's
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(model->index(r, 0).data().toString(), numbers[r]);
        EXPECT_EQ(model->index(r, 1).data().toString(), names[r]);
        EXPECT_FALSE(model->flags(model->index(r, 0)) & Qt::ItemIsSelectable);
        EXPECT_TRUE(model->flags(model->index(r, 1)) & Qt::ItemIsSelectable);
        EXPECT_EQ(d.table()->rowHeight(r), d.dlg.fontMetrics().height() + 4);
    }
    EXPECT_EQ(d.table()->columnWidth(0), 30);
    EXPECT_FALSE(d.table()->verticalHeader()->isVisible());
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(PreprocessingDlg, AFailedNameReadEndsTheListWithTheRowsSoFar)
{
    Scene scene(offerComposition());
    scene.session->faults().failNth(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 7, 3);
    Dialog d(scene);
    EXPECT_EQ(d.table()->model()->rowCount(), 2);
    EXPECT_EQ(d.table()->model()->columnCount(), 2);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(PreprocessingDlg, NothingSelectedAsksForASelectionAndStaysOpen)
{
    Scene scene(offerComposition());
    const QByteArray before = scene.project->toJson();
    Dialog d(scene);
    SeparationMessages messages;
    d.dlg.show();
    d.button("separateBtn")->click();
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].first,
              QStringLiteral("Please select at least one layer in the list, or skip this step."));
    EXPECT_TRUE(d.dlg.isVisible());
    EXPECT_EQ(scene.project->toJson(), before);
    EXPECT_TRUE(scene.session->undoGroups().empty());
}

TEST(PreprocessingDlg, SkipAndTheCloseButtonLeaveTheCompositionUntouched)
{
    for (bool viaTitleBar : {false, true}) {
        Scene scene(offerComposition());
        const QByteArray before = scene.project->toJson();
        Dialog d(scene);
        d.selectRows({0, 1});
        d.dlg.show();
        if (viaTitleBar)
            d.dlg.close();
        else
            d.button("skipBtn")->click();
        EXPECT_FALSE(d.dlg.isVisible());
        EXPECT_EQ(d.dlg.result(), QDialog::Rejected);
        EXPECT_EQ(scene.project->toJson(), before);
        EXPECT_TRUE(scene.session->undoGroups().empty());
    }
}

// Layer names after separating the given rows of the offer.
std::vector<QString> separateRows(std::function<void(Dialog&)> select, Scene& scene)
{
    Dialog d(scene);
    select(d);
    d.dlg.show();
    d.button("separateBtn")->click();
    EXPECT_FALSE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    return layerNames(scene);
}

TEST(PreprocessingDlg, ARangeAndBottomUpCtrlClicksSplitTheRightLayers)
{
    {
        Scene scene(offerComposition());
        // One range, rows 2 to 5: layers 2, 4, 5, 6, done 6, 5, 4, 2.
        const auto names = separateRows(
            [](Dialog& d) {
                d.table()->selectionModel()->select(
                    QItemSelection(d.table()->model()->index(1, 0), d.table()->model()->index(4, 1)),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            },
            scene);
        EXPECT_EQ(names, (std::vector<QString>{"A", "B 1", "B 2", "B", "Single", "C 1", "C 2", "", "D 1", "D 2", "D",
                                               "E 1", "E 2", "E"}));
    }
    {
        Scene scene(offerComposition());
        // Ctrl-clicks on the names from the bottom up: rows 5, 3, 1 (layers 6, 4, 1).
        const auto names = separateRows(
            [](Dialog& d) {
                d.dlg.show();
                for (int row : {4, 2, 0}) {
                    const QRect cell = d.table()->visualRect(d.table()->model()->index(row, 1));
                    QTest::mouseClick(d.table()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
                }
                EXPECT_EQ(d.dlg.getSelectedRows().size(), 3);
            },
            scene);
        EXPECT_EQ(names, (std::vector<QString>{"A 1", "A 2", "A", "B", "Single", "C 1", "C 2", "", "D", "E 1", "E 2",
                                               "E"}));
        EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
    }
}

TEST(PreprocessingDlg, OneUndoGroupThatTheHostUndoesInOneStep)
{
    Scene scene(offerComposition());
    const QByteArray before = scene.project->toJson();
    separateRows([](Dialog& d) { d.selectRows({0, 3, 4}); }, scene);
    ASSERT_NE(scene.project->toJson(), before);
    const auto& groups = scene.session->undoGroups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].name, "Zolvar - Shapes Separation");
    EXPECT_NE(groups[0].closeSequence, 0u);
    EXPECT_FALSE(groups[0].closedByHost);
    EXPECT_TRUE(scene.session->ungroupedMutations().empty()) << scene.session->ungroupedMutations()[0];

    std::string name;
    ASSERT_TRUE(scene.session->undoLastGroup(&name));
    EXPECT_EQ(name, "Zolvar - Shapes Separation");
    EXPECT_EQ(scene.project->toJson(), before);
}

TEST(PreprocessingDlg, ProgressTextsAndNoWayInWhileSeparating)
{
    Scene scene(offerComposition());
    Dialog d(scene);
    d.selectRows({0, 1, 4});
    d.dlg.show();
    struct Seen {
        QString text;
        int layers;
    };
    std::vector<Seen> seen;
    bool triedToLeave = false;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!d.dlg.isSeparating())
            return;
        const QString text = d.label("layerProgressSt")->text();
        if (seen.empty() || seen.back().text != text)
            seen.push_back({text, scene.project->activeComposition()->layerCount()});
        if (!triedToLeave) {
            triedToLeave = true;
            EXPECT_FALSE(d.button("separateBtn")->isEnabled());
            EXPECT_FALSE(d.button("skipBtn")->isEnabled());
            d.dlg.close();
            d.dlg.reject();
            d.button("separateBtn")->click();
            EXPECT_TRUE(d.dlg.isVisible()) << "closing is refused while separating";
        }
    });
    watcher.start();
    d.button("separateBtn")->click();
    watcher.stop();

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().text, QStringLiteral("Layer: 1 / 3"));
    EXPECT_EQ(seen.front().layers, 6) << "before the first layer is separated";
    EXPECT_EQ(seen.back().text, QStringLiteral("Layer: 3 / 3"));
    EXPECT_TRUE(triedToLeave);
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 12) << "three layers, each separated once";
    EXPECT_EQ(scene.session->undoGroups().size(), 1u);
    EXPECT_EQ(d.label("shapeProgressSt")->text(), QStringLiteral("Mask: 2 / 2"));
}

TEST(PreprocessingDlg, AShapeLayerShowsItsShapeProgress)
{
    using namespace outline_test;
    Scene scene(composition(shapeLayer(namedGroup("A", "", rect("")) + "," +
                                       namedGroup("B", "", ellipse(R"("ADBE Vector Ellipse Position": [60, 0])")) +
                                       "," + namedGroup("C", "", ""))));
    const QByteArray before = scene.project->toJson();
    testApp();
    PreprocessingDlg dlg(nullptr, Qt::WindowCloseButtonHint, scene.basic(), kPluginId);
    dlg.setLayerIndicesToSep({0}, {SeparationKind::ShapeGroups});
    dlg.populateLayerList();
    dlg.show();
    auto* table = dlg.findChild<QTableView*>(QStringLiteral("layersTable"));
    table->selectAll();
    dlg.findChild<QToolButton*>(QStringLiteral("separateBtn"))->click();
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("layerProgressSt"))->text(), QStringLiteral("Layer: 1 / 1"));
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("shapeProgressSt"))->text(), QStringLiteral("Shape: 3 / 3"));
    auto* bar = dlg.findChild<QProgressBar*>(QStringLiteral("shapeProgressBar"));
    EXPECT_EQ(bar->maximum(), 3);
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"", "A", "B"}))
        << "C holds nothing that draws; A and B, which meet, are split as the scan's verdict says, not judged again";
    ASSERT_TRUE(scene.session->undoLastGroup());
    EXPECT_EQ(scene.project->toJson(), before) << "one undo takes it all back";
}

TEST(PreprocessingDlg, AFailedLayerDoesNotStopTheOthers)
{
    Scene scene(offerComposition());
    SeparationMessages messages;
    // Layers are done from the highest index: E's template and two copies
    // come first, so the fourth duplicate is D's template.
    scene.session->faults().failNth(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 44, 4);
    const auto names = separateRows([](Dialog& d) { d.selectRows({0, 3, 4}); }, scene);
    EXPECT_EQ(names, (std::vector<QString>{"A 1", "A 2", "A", "B", "Single", "", "D", "E 1", "E 2", "E"}));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].second.startsWith(QStringLiteral("Layer 5 (D): ")))
        << messages.texts()[0].second.toStdString();
    EXPECT_EQ(scene.session->undoGroups().size(), 1u);
    EXPECT_TRUE(scene.session->leaks().none()) << scene.session->leaks().describe();
}

TEST(PreprocessingDlg, AnUndoGroupThatCannotOpenSeparatesNothing)
{
    Scene scene(offerComposition());
    const QByteArray before = scene.project->toJson();
    SeparationMessages messages;
    scene.session->faults().failNth(kAEGPUtilitySuite, standin::FaultInjector::kAnyVersion, 6, 1);
    separateRows([](Dialog& d) { d.selectRows({0}); }, scene);
    EXPECT_EQ(scene.project->toJson(), before);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].second.contains(QLatin1String("nothing was separated")));
}

// However many layers fail, the user hears of it once, at the end.
TEST(PreprocessingDlg, FailuresOfSeveralLayersMakeOneMessage)
{
    Scene scene(offerComposition());
    const QByteArray before = scene.project->toJson();
    SeparationMessages messages;
    scene.session->faults().failEvery(kAEGPLayerSuite, standin::FaultInjector::kAnyVersion, 44);
    separateRows([](Dialog& d) { d.selectRows({0, 3, 4}); }, scene);
    EXPECT_EQ(layerNames(scene), (std::vector<QString>{"A", "B", "Single", "", "D", "E"}));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].first, QStringLiteral("Error occurred when separating masks."));
    const QString detail = messages.texts()[0].second;
    for (const char* layer : {"Layer 6 (E): ", "Layer 5 (D): ", "Layer 1 (A): "})
        EXPECT_TRUE(detail.contains(QLatin1String(layer))) << layer << detail.toStdString();
    EXPECT_EQ(detail.count(QLatin1String("so the layer was left as it was")), 3);
    ASSERT_EQ(scene.session->undoGroups().size(), 1u);
    EXPECT_FALSE(scene.session->undoGroups()[0].closedByHost);
}

// The host refusing to close the group is said, with what was done; the
// separation itself stands.
TEST(PreprocessingDlg, AnUndoGroupThatCannotCloseIsReportedWithWhatWasDone)
{
    Scene scene(offerComposition());
    SeparationMessages messages;
    scene.session->faults().failNth(kAEGPUtilitySuite, standin::FaultInjector::kAnyVersion, 7, 1);
    const auto names = separateRows([](Dialog& d) { d.selectRows({0, 4}); }, scene);
    EXPECT_EQ(names, (std::vector<QString>{"A 1", "A 2", "A", "B", "Single", "", "D", "E 1", "E 2", "E"}));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].second.contains(
        QLatin1String("could not close the undo group \"Zolvar - Shapes Separation\"")))
        << messages.texts()[0].second.toStdString();
    EXPECT_TRUE(messages.texts()[0].second.contains(QLatin1String("2 of the 2 layers were separated")))
        << messages.texts()[0].second.toStdString();
    EXPECT_EQ(scene.session->faults().injectedCount(), 1);
}

// A suite the host cannot give ends the run, not the program: the group is
// closed and the user told.
// The split takes the scan's verdicts: the mask suite is first asked for by
// each layer's split, which leaves that layer as it was.
TEST(PreprocessingDlg, AMissingSuiteLeavesEachLayerAsItWasWithTheGroupClosed)
{
    Scene scene(offerComposition());
    SeparationMessages messages;
    scene.session->registry().withhold(kAEGPMaskSuite, kAEGPMaskSuiteVersion5);
    separateRows([](Dialog& d) { d.selectRows({0, 4}); }, scene);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].second.count(QLatin1String("acquiring a host suite failed")), 2)
        << messages.texts()[0].second.toStdString();
    ASSERT_EQ(scene.session->undoGroups().size(), 1u);
    EXPECT_NE(scene.session->undoGroups()[0].closeSequence, 0u);
    EXPECT_FALSE(scene.session->undoGroups()[0].closedByHost);
    EXPECT_EQ(scene.project->activeComposition()->layerCount(), 6) << "what a failed layer made is gone again";
}

TEST(PreprocessingDlg, MessagesAreInformationBoxesTitledZolvarWithOneOk)
{
    testApp();
    QString title, text, detail;
    int buttons = 0;
    bool parentless = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                detail = box->informativeText();
                buttons = int(box->buttons().size());
                parentless = box->parentWidget() == nullptr;
                box->button(QMessageBox::Ok)->click();
            }
    });
    showSeparationMessage(QStringLiteral("Error occurred when separating masks."), QStringLiteral("Layer 1 (A)"));
    EXPECT_EQ(title, QStringLiteral("Zolvar"));
    EXPECT_EQ(text, QStringLiteral("Error occurred when separating masks."));
    EXPECT_EQ(detail, QStringLiteral("Layer 1 (A)"));
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(parentless);
}

} // namespace
