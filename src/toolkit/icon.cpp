// Icons: an image the platform draws at the sizes it has.

#include "icon_p.h"

Icon::Icon(NativeKey /*key*/, std::unique_ptr<Native> native) : native_(std::move(native)) {}

Icon::~Icon() = default;

Size Icon::size() const {
    return {native_->size.width(), native_->size.height()};
}
