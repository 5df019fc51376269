// All free geometry helpers of the scene model in one include.
#pragma once

#include "model/ArraySearch.h"
#include "model/ConvexHull.h"
#include "model/CoordinateConversion.h"
#include "model/NearestVertex.h"
#include "model/OutlineClassification.h"
#include "model/OutlineDiscretisation.h"
#include "model/PolygonUtils.h"
#include "model/SettingsScope.h"
#include "model/ShortestLink.h"
