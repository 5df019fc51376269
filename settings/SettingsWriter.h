// Writing a settings file: the scene's block, then every scene snapshot's,
// as one XML document in memory. Numbers are written in the C locale.
#pragma once

#include "model/MyBody.h"
#include "model/QuickPreset.h"

#include <QByteArray>

#include <vector>

namespace tinyxml2 {
class XMLElement;
}

// Appends one scene block (preview, solver, gravity, bodies, joints) for
// `block` to `parent`. The joints' body identifiers come from `sceneBodies`
// (the scene's current list, also for a snapshot's joints).
void saveSceneSettings(tinyxml2::XMLElement* parent, const QuickPreset& block,
                       const std::vector<MyBody>& sceneBodies);

// The whole document: `scene` (its bodies are the scene's) and the
// snapshots, as UTF-8 bytes.
QByteArray writeSettingsDocument(const QuickPreset& scene, const std::vector<QuickPreset>& snapshots);
