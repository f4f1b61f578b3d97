#pragma once

// The Qt icon behind a toolkit icon.

#include <QIcon>
#include <QSize>

#include "toolkit/icon.h"

struct Icon::Native {
    QIcon icon;
    QSize size;
};
