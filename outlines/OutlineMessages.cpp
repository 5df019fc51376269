#include "outlines/OutlineMessages.h"

#include "outlines/OutlineLimits.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>

namespace {

OutlineMessageHandler currentHandler = nullptr;
LayerGeometryReport* currentReport = nullptr;

QString bodyEntry(const std::vector<MyBody>& bodies, size_t row)
{
    return QStringLiteral("Body #%1 (%2)  ").arg(row + 1).arg(bodies[row].name);
}

// The entries of the bodies whose `flag` is set, in list order.
QString entriesWhere(const std::vector<MyBody>& bodies, bool MyBody::*flag)
{
    QString entries;
    for (size_t i = 0; i < bodies.size(); ++i)
        if (bodies[i].*flag)
            entries += bodyEntry(bodies, i);
    return entries;
}

// The heading followed by the entries; empty when there is none.
QString headed(const QString& heading, const QString& entries)
{
    return entries.isEmpty() ? QString() : heading + entries;
}

void showInformationBox(QWidget* parent, const QString& text)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QMessageBox::information(parent, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
}

}  // namespace

QString layerGeometryErrorText(int layerIndex)
{
    return QStringLiteral("An error occurred when retrieving geometry of layer ") + QString::number(layerIndex + 1)
           + QStringLiteral(". This layer will be represented as a simple box.");
}

QString layerGeometryErrorText(const std::vector<int>& layerIndices)
{
    if (layerIndices.empty())
        return QString();
    if (layerIndices.size() == 1)
        return layerGeometryErrorText(layerIndices.front());
    const size_t listed = std::min(layerIndices.size(), size_t(kMaxListedLayers));
    QStringList numbers;
    for (size_t i = 0; i < listed; ++i)
        numbers.append(QString::number(layerIndices[i] + 1));
    QString list;
    if (listed < layerIndices.size())
        list = numbers.join(QStringLiteral(", ")) + QStringLiteral(" and %1 more").arg(layerIndices.size() - listed);
    else
        list = numbers.mid(0, numbers.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
               + numbers.last();
    return QStringLiteral("An error occurred when retrieving geometry of layers ") + list
           + QStringLiteral(". These layers will be represented as simple boxes.");
}

void reportLayerGeometryError(QWidget* parent, int layerIndex)
{
    if (currentReport)
        currentReport->layers_.push_back(layerIndex);
    else
        showOutlineMessage(parent, layerGeometryErrorText(layerIndex));
}

LayerGeometryReport::LayerGeometryReport(QWidget* parent) : parent_(parent), outer_(currentReport)
{
    currentReport = this;
}

LayerGeometryReport::~LayerGeometryReport()
{
    currentReport = outer_;
    if (outer_)
        outer_->layers_.insert(outer_->layers_.end(), layers_.begin(), layers_.end());
    else if (!layers_.empty())
        showOutlineMessage(parent_, layerGeometryErrorText(layers_));
}

QString triangulationFailedText(const std::vector<MyBody>& bodies)
{
    return headed(QStringLiteral("Self-intersecting shapes are not supported.\n\nTriangulation failed for the "
                                 "following bodies:\n"),
                  entriesWhere(bodies, &MyBody::triangulationFailed));
}

QString filledAsHullText(const std::vector<MyBody>& bodies)
{
    return headed(QStringLiteral("The outlines of the following bodies cross themselves or each other too often to "
                                 "be filled as drawn. Each of them is filled as its convex hull:\n"),
                  entriesWhere(bodies, &MyBody::filledAsHull));
}

QString crossingOutlinesText(const std::vector<MyBody>& bodies)
{
    const QString failed = triangulationFailedText(bodies);
    const QString hulls = filledAsHullText(bodies);
    if (failed.isEmpty() || hulls.isEmpty())
        return failed + hulls;
    return failed + QStringLiteral("\n\n") + hulls;
}

QString tooManyPolygonsText(const std::vector<MyBody>& bodies, const std::vector<int>& rows)
{
    QString entries;
    for (int row : rows)
        if (row >= 0 && size_t(row) < bodies.size() && bodies[size_t(row)].tooManyPolygons)
            entries += bodyEntry(bodies, size_t(row));
    if (entries.isEmpty())
        return QString();
    return QStringLiteral("The following bodies contains more than %1 polygons and may slow down simulation: \n")
               .arg(outline_limits::kMaxTriangles)
           + entries;
}

QString massUnusableText(const std::vector<MyBody>& bodies, const std::vector<int>& rows)
{
    QString entries;
    for (int row : rows)
        if (row >= 0 && size_t(row) < bodies.size() && bodies[size_t(row)].massUnusable)
            entries += bodyEntry(bodies, size_t(row));
    if (entries.isEmpty())
        return QString();
    return QStringLiteral("The following bodies are too small for their distance from the layer's anchor point. "
                          "They keep their place and do not move:\n")
           + entries;
}

QString unrepresentableText(const std::vector<MyBody>& bodies)
{
    QString noShape, mended;
    for (size_t i = 0; i < bodies.size(); ++i) {
        if (bodies[i].outlineUnrepresentable)
            noShape += bodyEntry(bodies, i);
        else if (bodies[i].placementMended)
            mended += bodyEntry(bodies, i);
    }
    QString text;
    if (!noShape.isEmpty())
        text += QStringLiteral("The outline, scale or parent scale of the following layers is too large to be "
                               "represented. They have no shape and will not be keyframed:\n")
                + noShape;
    if (!mended.isEmpty())
        text += QString(text.isEmpty() ? "" : "\n\n")
                + QStringLiteral("The position, anchor point or rotation of the following layers is too large to be "
                                 "represented. They are simulated from corrected values and will not be keyframed:\n")
                + mended;
    return text;
}

OutlineMessageHandler setOutlineMessageHandler(OutlineMessageHandler handler)
{
    const OutlineMessageHandler previous = currentHandler;
    currentHandler = handler;
    return previous;
}

void showOutlineMessage(QWidget* parent, const QString& text)
{
    if (currentHandler)
        currentHandler(parent, text);
    else
        showInformationBox(parent, text);
}
