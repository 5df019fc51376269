// The texts of the messages about layer outlines, and the one message box
// that the outline code shows itself.
#pragma once

#include "model/MyBody.h"

#include <QString>

#include <vector>

class QWidget;

// "An error occurred when retrieving geometry of layer <layerIndex + 1>. This
// layer will be represented as a simple box."
QString layerGeometryErrorText(int layerIndex);
// The same for several layers, by their indices in order: the text above for
// one, else "An error occurred when retrieving geometry of layers 3, 5 and 9.
// These layers will be represented as simple boxes.", naming at most
// kMaxListedLayers of them and how many more there are.
QString layerGeometryErrorText(const std::vector<int>& layerIndices);
constexpr int kMaxListedLayers = 20;

// Reports that layer `layerIndex` gave no geometry: its message on `parent`
// (showOutlineMessage), or, while a LayerGeometryReport lives, a line in that
// report's one message.
void reportLayerGeometryError(QWidget* parent, int layerIndex);

// Gathers the geometry errors of one scene build into one message, shown on
// the parent given when the object goes. Nested reports hand their layers to
// the one around them.
class LayerGeometryReport
{
public:
    explicit LayerGeometryReport(QWidget* parent);
    ~LayerGeometryReport();
    LayerGeometryReport(const LayerGeometryReport&) = delete;
    LayerGeometryReport& operator=(const LayerGeometryReport&) = delete;

private:
    friend void reportLayerGeometryError(QWidget* parent, int layerIndex);
    QWidget* parent_;
    std::vector<int> layers_;
    LayerGeometryReport* outer_;
};

// The message about the bodies whose closed outlines cross themselves
// (`triangulationFailed`), in list order; empty when there is none.
QString triangulationFailedText(const std::vector<MyBody>& bodies);

// The message about the bodies whose closed outlines crossed themselves or
// each other too often to be filled as drawn and were filled as their convex
// hull (`filledAsHull`), in list order; empty when there is none.
QString filledAsHullText(const std::vector<MyBody>& bodies);

// What the scene build and a change of mesh precision tell about the bodies'
// crossing outlines: the two messages above, one after the other; empty when
// neither has anything to say.
QString crossingOutlinesText(const std::vector<MyBody>& bodies);

// The warning about the bodies at `rows` that have more triangles than
// outline_limits::kMaxTriangles; empty when none of them has.
QString tooManyPolygonsText(const std::vector<MyBody>& bodies, const std::vector<int>& rows);

// The message about the bodies that are too small for their distance from
// their layer's anchor point to be given a mass (`massUnusable`), at `rows`;
// empty when none of them is.
QString massUnusableText(const std::vector<MyBody>& bodies, const std::vector<int>& rows);

// The message about the bodies whose layer values cannot be represented
// (`outlineUnrepresentable`, `placementMended`); empty when there is none.
QString unrepresentableText(const std::vector<MyBody>& bodies);

// Where showOutlineMessage sends its text. The default shows an information
// box titled "Zolvar" with one OK button on `parent`, and nothing without a
// QApplication.
using OutlineMessageHandler = void (*)(QWidget* parent, const QString& text);
// Installs a handler (nullptr: the default) and returns the one it replaces.
OutlineMessageHandler setOutlineMessageHandler(OutlineMessageHandler handler);
void showOutlineMessage(QWidget* parent, const QString& text);
