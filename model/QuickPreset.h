// A scene snapshot: view, solver and gravity values and the bodies' and
// joints' records.
#pragma once

#include "model/MyBody.h"
#include "model/MyJoint.h"

#include <QColor>

#include <cstdint>
#include <vector>

struct QuickPreset
{
    int32_t zoom = 250;                       // zoom slider value
    float panX = 0.0f;
    float panY = 0.0f;
    QColor backgroundColor{0, 0, 0, 255};
    float timeDivider = 1.0f;
    int32_t substeps = 2;
    float tolerance = 50.0f;
    float gravityMagnitude = 10.0f;
    float gravityDirection = 90.0f;           // degrees
    bool gravityFromLayer = false;
    int32_t gravityLayer = 0;                 // layer whose position gives the gravity
    std::vector<MyBody> bodies;
    std::vector<MyJoint> joints;

    // Puts the view, solver and gravity values back to their defaults; the
    // body and joint lists stay.
    void init();
};
