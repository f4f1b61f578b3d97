#pragma once

// What the program file holds: its resources, and its own path.

#include <memory>
#include <string>

#include "toolkit/fwd.h"

// The resources compiled into the program file.
class Resources {
public:
    // The icon group with this id; at the default icon size (32 pixels) when defaultSize is true,
    // else at the group's largest size. Returns none when the program has no such icon.
    std::shared_ptr<Icon> loadIcon(int id, bool defaultSize) const;
};

// The full path of the program's own executable file.
std::string programPath();
