// The X server's own pointer and wheel, moved by xdotool as a user's hand
// moves them: passing over every slider of the window and turning the wheel
// over every panel and value control changes no value, no record and no history entry, while a
// drag that begins with a press on a slider still makes its step. Events
// synthesized inside Qt do not take the road the server's events take (mouse
// tracking, hover, the move Qt makes when a widget scrolls under a resting
// pointer), hence the real ones. Without xdotool or an X server the cases
// are skipped, saying why.
#include "../editing/JointFixture.h"
#include "../mainwindow/RealPointer.h"
#include "../monkey/ModelState.h"

#include "mainwindow/ZolvarDlg.h"
#include "model/UserData.h"
#include "properties/GravityView.h"
#include "properties/SliderGo.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAbstractSlider>
#include <QCloseEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDockWidget>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

using real_pointer::moveTo;
using real_pointer::xdotool;

QStringList press(const char* button)
{
    return {QStringLiteral("mousedown"), QString::fromLatin1(button)};
}

QStringList release(const char* button)
{
    return {QStringLiteral("mouseup"), QString::fromLatin1(button)};
}

QStringList click(const char* button)
{
    return {QStringLiteral("click"), QString::fromLatin1(button)};
}

QStringList key(const char* name)
{
    return {QStringLiteral("key"), QString::fromLatin1(name)};
}

// A message box over the window while the pointer's button stays held; it
// closes itself.
void messageWhileHeld(QWidget* window)
{
    QTimer::singleShot(0, window, [window] {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Zolvar"), QStringLiteral("A message"),
                        QMessageBox::Ok, window);
        QTimer::singleShot(300, &box, &QDialog::accept);
        box.exec();
    });
    QTest::qWait(600);
}

// Every joint kind on three bodies, two of them springs, all selected with
// the bodies: every property panel is enabled.
struct Window : joint_test::Scene
{
    Window()
    {
        addAll({0, 1}, &SimulationView::addDistanceJointBetweenSelectedBodies);
        addAll({1, 2}, &SimulationView::addRevoluteJointBetweenSelectedBodies);
        addAll({0, 1}, &SimulationView::addPrismaticJointBetweenSelectedBodies);
        addAll({0, 1}, &SimulationView::addSpringJointBetweenSelectedBodies);
        addAll({1, 2}, &SimulationView::addSpringJointBetweenSelectedBodies);
        // The themes turn hovering on for the sliders.
        window->loadStyleSheet(0);
        selectAll();
        QTest::qWait(50);
    }

    void selectAll()
    {
        selectBodies({0, 1, 2});
        view->selectJointsOfSelectedBodies();
    }

    // What the user could see change: the records, the history, and every
    // slider and edit box.
    QStringList state() const
    {
        QStringList lines = monkey::describe(*view);
        lines << QStringLiteral("history %1 at %2").arg(stack->count()).arg(stack->index());
        // By name: showing a page raises it, which reorders the children.
        QStringList controls;
        for (const SliderGo* slider : window->findChildren<SliderGo*>())
            controls << QStringLiteral("%1 = %2").arg(slider->objectName()).arg(slider->value());
        for (const QDoubleSpinBox* box : window->findChildren<QDoubleSpinBox*>())
            controls << QStringLiteral("%1 = %2").arg(box->objectName()).arg(box->value(), 0, 'g', 9);
        controls.sort();
        return lines + controls;
    }

    // Bodies 1, 2, 3 in density, velocity direction and the joints' tension:
    // the panel shows the first of each. The springs' springiness is 1, the
    // other joints' 0. Gravity is one the panel shows rounded.
    void differentValues()
    {
        view->setDensity({1.0f, 2.0f, 3.0f}, {0, 1, 2});
        view->setVelocityDirection({10.0f, 20.0f, 30.0f}, {0, 1, 2});
        view->setDistanceJointFrequency({1.0f, 2.0f, 3.0f, 4.0f, 5.0f}, {0, 1, 2, 3, 4});
        view->setGravity(9.80665f, view->committedScene().gravityDirection);
        QTest::qWait(20);
    }

    std::vector<float> densities() const
    {
        std::vector<float> values;
        for (const MyBody& body : view->bodies)
            values.push_back(body.density);
        return values;
    }

    QPoint reveal(QWidget* w) const { return real_pointer::reveal(w); }

    // What is drawn or shown but not in force: a magnet ring at another
    // distance than its body's, a body panel that shows none of the
    // selected bodies. Empty when none.
    QString shownButNotInForce() const
    {
        for (size_t i = 0; i < view->bodies.size(); ++i) {
            const MyBody& b = view->bodies[i];
            for (b2Fixture* f = b.body ? b.body->GetFixtureList() : nullptr; f; f = f->GetNext())
                if (const auto* data = reinterpret_cast<const UserData*>(f->GetUserData().pointer);
                    data && !(data->magnetDistance == b.magnetDistance))
                    return QStringLiteral("body %1: magnet ring at %2, %3 in force")
                        .arg(i)
                        .arg(double(data->magnetDistance))
                        .arg(double(b.magnetDistance));
        }
        const std::vector<int> rows = view->getSelectedRows2();
        if (!rows.empty() && std::none_of(rows.begin(), rows.end(), [this](int r) { return view->bodyPanelShows(r); }))
            return QStringLiteral("the body panel shows none of the selected bodies");
        return QString();
    }
};

TEST(RealPointer, PassingOverEverySliderChangesNothing)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    const QList<SliderGo*> sliders = s.window->findChildren<SliderGo*>();
    ASSERT_EQ(sliders.size(), 33);
    const QStringList before = s.state();

    QStringList unreached;
    for (SliderGo* slider : sliders) {
        const QPoint centre = s.reveal(slider);
        if (centre.isNull()) {
            unreached << slider->objectName();
            continue;
        }
        const int half = slider->visibleRegion().boundingRect().width() / 2;
        // Onto the slider from above, across it both ways, off it below.
        QStringList path = moveTo(centre - QPoint(0, 30));
        for (int dx = -half - 10; dx <= half + 10; dx += 6)
            path << moveTo(centre + QPoint(dx, 0)) << QStringLiteral("sleep") << QStringLiteral("0.002");
        for (int dx = half + 10; dx >= -half - 10; dx -= 15)
            path << moveTo(centre + QPoint(dx, 1));
        path << moveTo(centre + QPoint(half / 2, 0)) << QStringLiteral("sleep") << QStringLiteral("0.05")
             << moveTo(centre + QPoint(0, 40));
        ASSERT_TRUE(xdotool(path)) << slider->objectName().toStdString();
        const QString changed = monkey::firstDifference(before, s.state());
        EXPECT_EQ(changed, QString()) << "passing over " << slider->objectName().toStdString();
        if (!changed.isEmpty())
            break;
    }
    EXPECT_EQ(unreached.join(QStringLiteral(", ")), QString()) << "sliders the pointer could not reach";
}

TEST(RealPointer, TurningTheWheelOverEveryPanelChangesNothing)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    const QStringList before = s.state();
    int scrolled = 0;
    for (QScrollArea* area : s.window->findChildren<QScrollArea*>()) {
        if (!area->isVisible())
            continue;
        const QRect shown = area->viewport()->visibleRegion().boundingRect();
        if (shown.isEmpty())
            continue;
        // The wheel down and up at a few places of the panel, resting in
        // between so that whatever scrolls under the pointer meets it.
        for (const QPoint at : {shown.center(), shown.topLeft() + QPoint(shown.width() * 3 / 4, shown.height() / 4),
                                shown.topLeft() + QPoint(shown.width() / 4, shown.height() * 3 / 4)}) {
            const QPoint global = area->viewport()->mapToGlobal(at);
            QStringList turns = moveTo(global);
            for (const char* button : {"5", "5", "5", "5", "4", "4", "5", "5", "4", "4", "4", "4"})
                turns << QStringLiteral("click") << QString::fromLatin1(button) << QStringLiteral("sleep")
                      << QStringLiteral("0.03");
            ASSERT_TRUE(xdotool(turns)) << area->objectName().toStdString();
        }
        scrolled += area->verticalScrollBar()->maximum() > 0 ? 1 : 0;
        const QString changed = monkey::firstDifference(before, s.state());
        EXPECT_EQ(changed, QString()) << "the wheel over " << area->objectName().toStdString();
        if (!changed.isEmpty())
            break;
    }
    EXPECT_GT(scrolled, 0) << "no panel had anything to scroll";

    // And right over each control that holds a value.
    QList<QWidget*> controls;
    for (QWidget* w : s.window->findChildren<QWidget*>())
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractSlider*>(w))
            controls << w;
    int reached = 0;
    for (QWidget* control : controls) {
        if (qobject_cast<QScrollBar*>(control) || !control->isEnabled())
            continue;
        const QPoint centre = s.reveal(control);
        if (centre.isNull())
            continue;
        ++reached;
        QStringList turns = moveTo(centre);
        for (const char* button : {"5", "5", "4", "4", "4", "5"})
            turns << QStringLiteral("click") << QString::fromLatin1(button);
        ASSERT_TRUE(xdotool(turns)) << control->objectName().toStdString();
        const QString changed = monkey::firstDifference(before, s.state());
        EXPECT_EQ(changed, QString()) << "the wheel over " << control->objectName().toStdString();
        if (!changed.isEmpty())
            break;
    }
    EXPECT_GT(reached, 40);
}

TEST(RealPointer, ADragBegunOnASliderStillMakesItsStep)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    const int entries = s.stack->count();
    SliderGo* density = s.ui.densitySld;
    const QPoint centre = s.reveal(density);
    ASSERT_FALSE(centre.isNull());
    const int half = density->visibleRegion().boundingRect().width() / 2;
    QStringList drag = moveTo(centre - QPoint(half * 3 / 5, 0));
    drag << QStringLiteral("mousedown") << QStringLiteral("1");
    for (int dx = -half * 3 / 5; dx <= half / 5; dx += 10)
        drag << moveTo(centre + QPoint(dx, 0));
    ASSERT_TRUE(xdotool(drag));
    EXPECT_EQ(s.stack->count(), entries) << "no step before the release";
    const float held = s.view->bodies[0].density;
    ASSERT_TRUE(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    ASSERT_EQ(s.stack->count(), entries + 1);
    EXPECT_EQ(s.stack->text(s.stack->count() - 1), "Change Density");
    EXPECT_NE(s.view->bodies[0].density, held);
    EXPECT_EQ(s.view->bodies[0].density, float(density->value() / 1000.0));

    // After the release the pointer moves freely again.
    const QStringList after = s.state();
    ASSERT_TRUE(xdotool(moveTo(centre - QPoint(half / 2, 0)) << moveTo(centre + QPoint(half / 2, 0))));
    EXPECT_EQ(monkey::firstDifference(after, s.state()), QString());
}

TEST(RealPointer, LeavingAnEditBoxUntouchedChangesNothing)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    s.differentValues();
    const QStringList before = s.state();
    // Each box with a neighbour the click elsewhere lands on; the second is
    // a plain number box.
    const std::pair<QDoubleSpinBox*, QDoubleSpinBox*> boxes[] = {
        {s.ui.densityEt, s.ui.frictionEt},
        {s.ui.velocityDirectionEt, s.ui.angularVelocityEt},
        {s.ui.distanceJointFrequencyEt, s.ui.distanceJointDampingEt},
        {s.ui.springJointSpringinessEt, s.ui.springJointDampingEt},
        {s.ui.gravityMagnitudeEt, s.ui.gravityDirectionEt}};
    for (const auto& [box, neighbour] : boxes) {
        const QPoint at = s.reveal(box);
        ASSERT_FALSE(at.isNull()) << box->objectName().toStdString();
        ASSERT_TRUE(box->isEnabled()) << box->objectName().toStdString();
        const QPoint elsewhere = neighbour->mapToGlobal(neighbour->rect().center());
        ASSERT_TRUE(xdotool(moveTo(at) << click("1") << moveTo(elsewhere) << click("1")));
        ASSERT_TRUE(xdotool(moveTo(at) << click("1") << key("Tab")));
        ASSERT_TRUE(xdotool(moveTo(at) << click("1") << key("Return") << moveTo(elsewhere) << click("1")));
        EXPECT_EQ(monkey::firstDifference(before, s.state()), QString()) << box->objectName().toStdString();
    }
    EXPECT_EQ(s.view->committedScene().gravityMagnitude, 9.80665f) << "shown as 9.807, kept exactly";

    // A value typed in is applied to every selected body, in one step.
    const int entries = s.stack->count();
    const QPoint at = s.reveal(s.ui.densityEt);
    ASSERT_TRUE(xdotool(moveTo(at) << click("1") << key("ctrl+a") << QStringLiteral("key") << QStringLiteral("2")
                                   << QStringLiteral("period") << QStringLiteral("5") << QStringLiteral("Return")));
    ASSERT_EQ(s.stack->count(), entries + 1);
    EXPECT_EQ(s.lastText(), "Change Density");
    EXPECT_EQ(s.densities(), std::vector<float>({2.5f, 2.5f, 2.5f}));
}

TEST(RealPointer, OnlyADragMovesASliderAndEachDragIsOneStep)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    s.differentValues();
    const QStringList before = s.state();
    SliderGo* density = s.ui.densitySld;
    const QPoint centre = s.reveal(density);
    ASSERT_FALSE(centre.isNull());
    const int half = density->visibleRegion().boundingRect().width() / 2;

    // A right click moves nothing, a middle click neither.
    ASSERT_TRUE(xdotool(moveTo(centre + QPoint(half / 2, 0)) << click("3") << moveTo(centre - QPoint(half / 3, 0))
                                                             << click("2") << moveTo(centre + QPoint(0, 40))));
    EXPECT_EQ(monkey::firstDifference(before, s.state()), QString());

    // A drag begun with the right button follows the pointer: one step at
    // its release.
    const int entries = s.stack->count();
    QStringList drag = moveTo(centre - QPoint(half * 3 / 5, 0)) << press("3");
    for (int dx = -half * 3 / 5; dx <= half / 5; dx += 10)
        drag << moveTo(centre + QPoint(dx, 0));
    ASSERT_TRUE(xdotool(drag));
    EXPECT_EQ(s.stack->count(), entries);
    EXPECT_NE(density->value(), 1000);
    ASSERT_TRUE(xdotool(release("3")));
    ASSERT_EQ(s.stack->count(), entries + 1);
    const float dragged = float(density->value() / 1000.0);
    EXPECT_EQ(s.densities(), std::vector<float>(3, dragged));

    // A right click during a left drag: still one drag, one step.
    drag = moveTo(centre + QPoint(half / 2, 0)) << press("1") << moveTo(centre + QPoint(half / 3, 0)) << click("3");
    for (int dx = half / 3; dx >= -half / 2; dx -= 10)
        drag << moveTo(centre + QPoint(dx, 0));
    ASSERT_TRUE(xdotool(drag << release("1")));
    ASSERT_EQ(s.stack->count(), entries + 2);
    EXPECT_EQ(s.densities(), std::vector<float>(3, float(density->value() / 1000.0)));
    s.stack->undo();
    EXPECT_EQ(s.densities(), std::vector<float>(3, dragged));
}

TEST(RealPointer, AMessageDuringADragLeavesThePanelShowingWhatIsInForce)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    s.differentValues();
    const int entries = s.stack->count();
    SliderGo* density = s.ui.densitySld;
    QPoint centre = s.reveal(density);
    ASSERT_FALSE(centre.isNull());
    const int half = density->visibleRegion().boundingRect().width() / 2;
    ASSERT_TRUE(xdotool(moveTo(centre - QPoint(half / 2, 0)) << press("1") << moveTo(centre + QPoint(half / 3, 0))));
    messageWhileHeld(s.window.get());
    ASSERT_TRUE(xdotool(moveTo(centre + QPoint(half / 2, 0)) << release("1") << moveTo(centre + QPoint(0, 40))));
    EXPECT_LE(s.stack->count(), entries + 1);
    const float shown = float(s.ui.densityEt->value());
    EXPECT_EQ(s.densities(), std::vector<float>(3, shown)) << "shown " << shown;

    GravityView* pad = s.window->gravityPad();
    centre = s.reveal(pad);
    ASSERT_FALSE(centre.isNull());
    ASSERT_TRUE(xdotool(moveTo(centre + QPoint(10, 5)) << press("1") << moveTo(centre + QPoint(20, -15))));
    messageWhileHeld(s.window.get());
    ASSERT_TRUE(xdotool(moveTo(centre + QPoint(30, 10)) << release("1") << moveTo(centre + QPoint(0, 80))));
    const SimulationView::SceneValues& force = s.view->committedScene();
    EXPECT_EQ(force.gravityMagnitude, float(s.ui.gravityMagnitudeEt->value()));
    EXPECT_EQ(force.gravityDirection, float(s.ui.gravityDirectionEt->value()));
}

// A key pressed while a slider's button is held ends the drag first, as its
// release would: the value the user dragged to goes to what was selected at
// the press, in one step, and the key then acts on the committed scene. The
// release that follows, with no further move, does nothing. The slider, which
// has the focus, takes no key: an arrow key nudges, it sets no value. A key
// held down since before the press ends the drag at its first repeat.
TEST(RealPointer, AKeyDuringAHeldSliderFindsTheDragEnded)
{
    SKIP_WITHOUT_REAL_POINTER();
    Window s;
    s.differentValues();
    for (int b = 0; b < 3; ++b)
        s.view->setMagnetDistance({100.0f * float(b + 1)}, {b});
    s.view->restartAnimation();
    const struct
    {
        SliderGo* slider;
        std::vector<int> bodies;  // selected at the press (with their joints)
        const char* key;
        bool held = false;  // down since before the press, repeating during the hold
    } cases[] = {
        {s.ui.densitySld, {0, 1, 2}, "t"},
        {s.ui.densitySld, {0, 1}, "i"},
        {s.ui.densitySld, {0, 1, 2}, "ctrl+z"},
        {s.ui.magnetDistanceSld, {0, 1}, "i"},
        {s.ui.magnetDistanceSld, {1}, "Home"},
        {s.ui.distanceJointFrequencySld, {0, 1, 2}, "t"},
        {s.ui.distanceJointFrequencySld, {0, 1}, "i"},
        {s.ui.distanceJointFrequencySld, {0, 1, 2}, "ctrl+z"},
        {s.ui.springJointDesiredLengthSld, {0, 1, 2}, "f"},
        {s.ui.springJointDesiredLengthSld, {0, 1, 2}, "Down"},
        {s.ui.gravityMagnitudeSld, {0, 1, 2}, "ctrl+z"},
        {s.ui.densitySld, {0, 1, 2}, "Left"},
        {s.ui.densitySld, {0, 1}, "i", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider->objectName().toStdString() + " held, " + c.key);
        s.selectBodies(c.bodies);
        s.view->selectJointsOfSelectedBodies();
        QTest::qWait(20);
        const int startIndex = s.stack->index();
        const QStringList start = monkey::describe(*s.view);
        const QPoint centre = s.reveal(c.slider);
        ASSERT_FALSE(centre.isNull());
        const int half = c.slider->visibleRegion().boundingRect().width() / 2;
        const QString keyName = QString::fromLatin1(c.key);
        QStringList drag = c.held ? QStringList{QStringLiteral("keydown"), keyName} : QStringList();
        ASSERT_TRUE(xdotool(drag << moveTo(centre - QPoint(half / 3, 0)) << press("1")
                                 << moveTo(centre + QPoint(half * 2 / 3, 0))));
        // Selected at the press, well before a held key repeats.
        const std::vector<int> bodies = s.view->getSelectedRows2();
        const std::vector<int> joints = s.view->getSelectedRowsInJointsTable2();
        const int dragged = c.slider->value();
        ASSERT_TRUE(c.held ? xdotool({QStringLiteral("sleep"), QStringLiteral("1.5"), QStringLiteral("keyup"), keyName})
                           : real_pointer::keys({keyName}));
        if (c.held)
            EXPECT_GT(s.stack->index(), startIndex) << "the button still held, no repeat ended the drag";
        ASSERT_TRUE(xdotool(QStringList(release("1")) << moveTo(centre + QPoint(0, 60))));

        EXPECT_EQ(s.shownButNotInForce(), QString());
        // What the slider shows is what its edit box shows.
        const QString name = c.slider->objectName();
        const auto* edit =
            s.window->findChild<QDoubleSpinBox*>(QString(name).replace(QLatin1String("Sld"), QLatin1String("Et")));
        ASSERT_NE(edit, nullptr);
        EXPECT_NEAR(c.slider->value() / 1000.0, edit->value(), 0.0011);
        // Every change is in the history: undone, the start comes back
        // exactly; redone, what is in force now.
        const QStringList now = monkey::describe(*s.view);
        const int index = s.stack->index();
        const bool undone = QByteArray(c.key) == "ctrl+z";
        if (undone) {
            EXPECT_EQ(monkey::firstDifference(start, now), QString());
            EXPECT_TRUE(s.stack->canRedo());
        }
        const bool redone = undone && s.stack->canRedo();
        if (redone)
            s.stack->redo();
        // The value dragged to, in the rows selected at the press.
        const float value = float(dragged / 1000.0);
        const bool bodyRow = name == "densitySld" || name == "magnetDistanceSld";
        const auto inForce = [&](int row) {
            if (bodyRow)
                return name == "densitySld" ? s.view->bodies[size_t(row)].density
                                            : s.view->bodies[size_t(row)].magnetDistance;
            return name == "distanceJointFrequencySld" ? s.view->joints[size_t(row)].frequency
                                                       : s.view->joints[size_t(row)].desiredLength;
        };
        if (name == "gravityMagnitudeSld")
            EXPECT_EQ(s.view->committedScene().gravityMagnitude, value);
        else
            for (int row : bodyRow ? bodies : joints)
                EXPECT_EQ(inForce(row), value) << "row " << row;
        if (redone)
            s.stack->undo();
        while (s.stack->index() > startIndex)
            s.stack->undo();
        EXPECT_EQ(monkey::firstDifference(start, monkey::describe(*s.view)), QString());
        EXPECT_EQ(s.shownButNotInForce(), QString()) << "undone";
        while (s.stack->index() < index)
            s.stack->redo();
        EXPECT_EQ(monkey::firstDifference(now, monkey::describe(*s.view)), QString());
        while (s.stack->index() > startIndex)
            s.stack->undo();
        if (HasFailure())
            return;
    }

    // The gravity pad as well: Ctrl+Z during its drag undoes the drag.
    const QPoint centre = s.reveal(s.window->gravityPad());
    ASSERT_FALSE(centre.isNull());
    const int index = s.stack->index();
    const QStringList start = monkey::describe(*s.view);
    ASSERT_TRUE(xdotool(moveTo(centre + QPoint(10, 5)) << press("1") << moveTo(centre + QPoint(25, -15))));
    ASSERT_TRUE(real_pointer::keys({QStringLiteral("ctrl+z")}));
    ASSERT_TRUE(xdotool(QStringList(release("1")) << moveTo(centre + QPoint(0, 80))));
    EXPECT_EQ(monkey::firstDifference(start, monkey::describe(*s.view)), QString());
    EXPECT_EQ(s.stack->index(), index);
    EXPECT_TRUE(s.stack->canRedo());
    EXPECT_NEAR(double(s.view->committedScene().gravityMagnitude), s.ui.gravityMagnitudeEt->value(), 0.0005);
}

// At the close, by every way out, what the user still holds goes back and a
// value typed without Return is taken, before the autosave: afterwards the
// window shows and the autosave holds exactly what the history covers. A
// dock dragged by its title is let go before the window is deleted, and the
// layout stored is the one before the drag.
TEST(RealPointer, TheCloseTakesBackWhatIsHeldAndTakesWhatIsTyped)
{
    SKIP_WITHOUT_REAL_POINTER();
    // The road of a window manager's close (Alt+F4, the title bar's button).
    const auto windowSystemClose = [](ZolvarDlg& w) {
        QCloseEvent close;
        QCoreApplication::sendEvent(w.windowHandle(), &close);
    };
    // A close asked while the keys are written: the window closes by itself
    // when the writing ends.
    const auto closeWhileWriting = [](ZolvarDlg& w) {
        w.form().endFrameEt->setValue(3);
        w.form().applyToNewCompCb->setChecked(false);
        w.form().exportBtn->click();
        for (int tick = 0; tick < 20 && !w.simulationView()->isWritingKeys(); ++tick)
            w.simulationView()->updatePhysics();
        ASSERT_TRUE(w.simulationView()->isWritingKeys());
        w.close();
        EXPECT_TRUE(w.isVisible());
        for (int turn = 0; turn < 100 && w.isVisible(); ++turn)
            QTest::qWait(5);
    };
    // The host's quit, from the loop the host runs.
    const auto hostQuit = [](ZolvarDlg&) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    };
    const std::function<void(ZolvarDlg&)> ways[] = {
        [](ZolvarDlg&) { EXPECT_TRUE(real_pointer::keys({QStringLiteral("ctrl+alt+q")})); }, windowSystemClose,
        [](ZolvarDlg& w) { w.close(); }, [](ZolvarDlg& w) { w.form().onQuitZolvar->trigger(); }, closeWhileWriting,
        hostQuit};
    // In a floating Body Properties dock too, active: a press held on a
    // label reaches the dock itself, unlike one on a control. A docked
    // dock's title dragged: the window goes while the dock follows the
    // pointer, as the command's end deletes it before the release. A key
    // that changes the layout during that drag acts, and the window keeps
    // what it made. Another button clicked during the drag leaves it held.
    // A floating dock's title pressed docks it, and no dock floats at the
    // next start.
    const struct {
        const char* what;
        bool floating = false;
        const char* layoutKey = nullptr;
        bool rightClick = false;
    } rows[] = {{"typed"}, {"densitySld"}, {"springJointDesiredLengthSld"}, {"magnetDistanceSld"}, {"gravityPad"},
                {"body"}, {"velocity"}, {"typed", true}, {"frictionSt", true}, {"bodyPropertiesDockWidget"},
                {"globalPropertiesDockWidget"}, {"bodyPropertiesDockWidget", false, "alt+0"},
                {"bodyPropertiesDockWidget", false, "alt+1"}, {"bodyPropertiesDockWidget", false, "alt+2"},
                {"bodyPropertiesDockWidget", false, "alt+3"}, {"bodyPropertiesDockWidget", false, "alt+4"},
                {"bodyPropertiesDockWidget", false, "alt+5"}, {"bodyPropertiesDockWidget", false, "alt+6"},
                {"bodyPropertiesDockWidget", false, "alt+7"}, {"bodyPropertiesDockWidget", false, "alt+8"},
                {"bodyPropertiesDockWidget", false, "ctrl+alt+1"}, {"bodyPropertiesDockWidget", false, nullptr, true},
                {"bodyPropertiesDockWidget", false, "alt+0", true}, {"bodyPropertiesDockWidget", true, "alt+1"},
                {"bodyPropertiesDockWidget", true, nullptr, true}};
    for (const auto& [what, floating, layoutKey, rightClick] : rows)
        for (int way = 0; way < 6; ++way) {
            const bool typed = QByteArray(what) == "typed";
            const bool dock = QByteArray(what).endsWith("DockWidget");
            // Quit from the menu: its click would end a drag first.
            if ((way == 3 && !typed) || (way == 4 && (!dock || layoutKey || floating)) || (way == 5 && !dock))
                continue;
            SCOPED_TRACE(std::string(what) + (floating ? " floating" : "") + (rightClick ? " right click" : "") + " " +
                         (layoutKey ? layoutKey : "") + ", way " + std::to_string(way));
            window_test::clearLayoutStore();
            Window s;
            QWidget* active = s.window.get();
            if (floating) {
                s.ui.bodyPropertiesDockWidget->setFloating(true);
                active = s.ui.bodyPropertiesDockWidget;
            }
            active->activateWindow();
            (void)QTest::qWaitForWindowActive(active);
            if (QByteArray(what) == "velocity")
                s.window->OnVelocityToolBtn();
            QStringList before = s.state();
            const int entries = s.stack->count();
            QWidget* control = typed ? s.ui.densityEt
                               : QByteArray(what) == "gravityPad"
                                   ? s.window->gravityPad()
                                   : s.window->findChild<QWidget*>(QString::fromLatin1(what));
            GLWidget* gl = s.view->getGLWidget();
            const b2Vec2 body = s.view->bodies[1].position;
            const QPoint at = dock ? control->mapToGlobal(QPoint(control->width() / 3, 6))
                              : control ? s.reveal(control)
                                      : gl->mapToGlobal(QPoint(int(gl->getViewXCoordFromGL(body.x, float(gl->width()))),
                                                               int(gl->getViewYCoordFromGL(body.y, float(gl->height())))));
            ASSERT_FALSE(at.isNull());
            if (dock)
                control->raise();
            QByteArray layout = s.window->saveState(0);
            ASSERT_TRUE(typed ? xdotool(moveTo(at) << click("1") << key("ctrl+a") << key("7"))
                              : xdotool(moveTo(at - QPoint(15, 0)) << press("1") << moveTo(at + QPoint(10, 4))
                                                                    << moveTo(at + QPoint(25, 8))));
            if (dock) {
                // The dock, or the one whose tab it shares, through another
                // button's click too. A floating one goes back to its place.
                for (int wait = 0; wait < 50 && !qobject_cast<QDockWidget*>(QWidget::mouseGrabber()); ++wait)
                    QTest::qWait(10);
                if (rightClick) {
                    ASSERT_TRUE(xdotool(click("3")));
                }
                ASSERT_NE(floating, qobject_cast<QDockWidget*>(QWidget::mouseGrabber()) != nullptr);
                if (floating) {
                    EXPECT_FALSE(s.ui.bodyPropertiesDockWidget->isFloating());
                    layout = s.window->saveState(0);
                }
                if (layoutKey) {
                    // The panels in the order of their keys, and their check
                    // marks. Alt+N toggles the Nth, Ctrl+Alt+1 all after the
                    // information panel, Alt+0 brings back the layout the
                    // window opened with.
                    QList<QDockWidget*> panels;
                    for (const char* name : {"bodies", "joints", "globalProperties", "bodyProperties",
                                             "jointProperties", "export", "info", "actionsHistory"})
                        panels << s.window->findChild<QDockWidget*>(QLatin1String(name) + "DockWidget");
                    const QList<QAction*> marks = s.ui.menuPanel->actions().mid(0, 8);
                    const auto shown = [&](int i) { return panels[i]->isVisibleTo(s.window.get()); };
                    const QByteArray key(layoutKey);
                    std::vector<bool> expected;
                    for (int i = 0; i < 8; ++i)
                        expected.push_back(key == "ctrl+alt+1" ? !shown(6) : shown(i) != key.endsWith(char('1' + i)));
                    ASSERT_TRUE(real_pointer::keys({QString::fromLatin1(layoutKey)}));
                    EXPECT_FALSE(QWidget::mouseGrabber()) << "the drag ended";
                    for (int i = 0; i < 8; ++i) {
                        EXPECT_EQ(shown(i), expected[size_t(i)]) << i;
                        EXPECT_EQ(marks[i]->isChecked(), expected[size_t(i)]) << i;
                    }
                    EXPECT_EQ(s.stack->count(), entries) << "no step for the layout";
                    layout = s.window->saveState(0);
                }
                ways[way](*s.window);
                ASSERT_TRUE(s.window->isClosing());
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
                QCoreApplication::exec();
                EXPECT_EQ(window_test::layoutStore().value(QStringLiteral("zolvarDlgWindowState")).toByteArray(),
                          layout) << "the dock goes back where it was, or the key's layout is kept";
                s.window.reset();
                ASSERT_TRUE(xdotool(QStringList(release("1")) << moveTo(at + QPoint(0, 300))));
                if (floating || rightClick) {
                    s.host.reset();
                    Window next;
                    for (const QDockWidget* shown : next.window->findChildren<QDockWidget*>())
                        EXPECT_FALSE(shown->isFloating()) << shown->objectName().toStdString() << " at the next start";
                }
                continue;
            }
            ways[way](*s.window);
            ASSERT_TRUE(xdotool((typed ? QStringList() : release("1")) << moveTo(at + QPoint(0, 300))));
            ASSERT_TRUE(s.window->isClosing());
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();

            EXPECT_EQ(s.shownButNotInForce(), QString());
            QTemporaryDir folder;
            const QString records = folder.filePath(QStringLiteral("records.xml"));
            ASSERT_TRUE(s.view->saveSettings(records, "Most Recent Saved Settings File"));
            QFile autosave(QString::fromStdString(
                *s.host->session->prefs().value(window_test::kSection, "Auto Saved Settings File")));
            QFile saved(records);
            ASSERT_TRUE(autosave.open(QIODevice::ReadOnly) && saved.open(QIODevice::ReadOnly));
            EXPECT_EQ(autosave.readAll(), saved.readAll()) << "the autosave holds what is in force";
            if (typed) {
                EXPECT_EQ(s.densities(), std::vector<float>(3, 7.0f));
                EXPECT_EQ(s.lastText(), "Change Density");
                // One step, and undone, everything as before it.
                s.stack->undo();
                before.replaceInStrings(QStringLiteral("history %1 at").arg(entries),
                                        QStringLiteral("history %1 at").arg(entries + 1));
            }
            EXPECT_EQ(monkey::firstDifference(before, s.state()), QString());
        }
}

} // namespace
