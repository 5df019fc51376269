// The program's built-in resources (style sheets and images) live in the
// static library; this registers them with Qt. Safe to call any number of times.
#pragma once

void initZolvarResources();
