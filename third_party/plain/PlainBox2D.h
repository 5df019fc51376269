// Box2D 2.4.1 as Debian ships it, without the project's pair pass (only with
// the patches that change nothing it computes), every name inside namespace
// b2plain (library box2d_plain). The tests and benchmarks
// that compare with Box2D's own code step their worlds with it; it may be
// included next to <box2d/box2d.h>.
#pragma once

#include "PlainSystemHeaders.h"

namespace b2plain {
#include "b2plain/box2d.h"
}
