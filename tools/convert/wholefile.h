#pragma once

#include <string>

#include "bytebuffer.h"

// The whole file; throws InputError when it cannot be read.
ByteBuffer readWholeFile(const std::string& path);
