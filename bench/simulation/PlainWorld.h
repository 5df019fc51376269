// The benchmarks' plain side: Box2D's own code without the pair pass
// (box2d_plain, namespace b2plain) stepping a copy of the world the plug-in
// built.
#pragma once

#include <box2d/box2d.h>

#include "PlainBox2D.h"

#include <memory>

namespace bench {

// A plain world holding a copy of every body and fixture of `source` (its
// settings, gravity, velocities, sleep states and masses), made in the same
// order. Joints are not copied.
std::unique_ptr<b2plain::b2World> plainCopy(b2World& source);

} // namespace bench
