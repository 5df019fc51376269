// The system headers that Box2D's files include, included before they are
// opened inside namespace b2plain: their guards keep them out of it.
#pragma once

#include <assert.h>
#include <float.h>
#include <limits.h>
#include <math.h>
#include <new>
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>
