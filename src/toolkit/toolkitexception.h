#pragma once

#include "program/exception.h"

// The toolkit's own failures.
class ToolkitException : public Exception {
public:
    using Exception::Exception;
};
