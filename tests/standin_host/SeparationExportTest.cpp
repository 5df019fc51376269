// An unattended export of a composition whose layers the plug-in offers to
// separate: the host declines the offer (the dialog's Skip), the composition
// keeps its layers, and the export runs to its end.
#include "HostProcess.h"

#include "project/Project.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kProject = R"({
    "format": "zolvar-standin-project",
    "footage": [{"name": "Red", "kind": "solid", "width": 300, "height": 100, "color": [1, 0, 0]}],
    "compositions": [{"name": "Main", "width": 640, "height": 360, "frameRate": 25, "duration": 4,
        "layers": [
            {"type": "solid", "name": "Masks", "source": "Red", "transform": {"position": [320, 80], "rotation": 30},
             "masks": [
                {"name": "One", "shape": {"closed": true, "vertices": [[0, 0], [80, 0], [80, 80], [0, 80]]}},
                {"name": "Two", "shape": {"closed": true, "vertices": [[110, 0], [190, 0], [190, 80]]}}]},
            {"type": "shape", "name": "Groups", "transform": {"position": [320, 250], "scale": [-100, 100]},
             "contents": [
                {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Rect"}]},
                {"matchName": "ADBE Vector Group", "contents": [{"matchName": "ADBE Vector Shape - Ellipse"}]}]}]}],
    "activeItem": "Main"
})";

TEST(SeparationExport, TheOfferIsDeclinedAndTheExportRunsUnattended)
{
    HostSandbox box;
    const QString project = box.path(QStringLiteral("separable.json"));
    const QString output = box.path(QStringLiteral("out.json"));
    ASSERT_TRUE(HostSandbox::write(project, kProject));
    const HostRun run = box.run({project, QStringLiteral("--export"), QStringLiteral("0-10"),
                                 QStringLiteral("--output"), output});
    const std::string shown = (run.out + run.err).toStdString();
    ASSERT_TRUE(run.finished) << shown;
    EXPECT_EQ(run.exitCode, 0) << shown;
    EXPECT_TRUE(run.out.contains(
        QStringLiteral("dialog \"Zolvar - Shapes Separation\" (PreprocessingDlg) declined")))
        << shown;
    EXPECT_TRUE(run.out.contains(QStringLiteral("Export: done"))) << shown;
    EXPECT_FALSE(run.out.contains(QStringLiteral("Shapes Separation\" (calls"))) << "no separation group" << shown;
    EXPECT_TRUE(run.out.contains(QStringLiteral("Leaks: none"))) << shown;

    standin::LoadError error;
    const auto result = standin::Project::load(output, &error);
    ASSERT_TRUE(result) << error.toString().toStdString();
    const standin::Composition* main = result->compositionByName(QStringLiteral("Main"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->layerCount(), 2) << "nothing was separated";
    EXPECT_EQ(main->layer(0)->maskCount(), 2);
}

} // namespace
