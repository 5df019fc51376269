// Tells when a press that a widget's drag holds on to is taken from it
// without a release: a modal window opens over the widget's window or a
// popup (a menu, a list) takes the pointer. The release then never reaches
// the widget, so its drag has to end there and then.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

class PressLossWatch : public QObject
{
public:
    PressLossWatch(QWidget* widget, std::function<void()> lost);

    // Watches from now until the loss or disarm().
    void arm();
    void disarm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget;
    std::function<void()> lost;
    bool armed = false;
};
