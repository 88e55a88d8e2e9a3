#pragma once

#include "platform/Keys.h"

// The view's name of a Qt key code (Qt::Key); keys the views do not know are Key::Other.
Key KeyFromQt(int qtKey);
